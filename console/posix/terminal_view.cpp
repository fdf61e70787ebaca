#include "console/posix/terminal_view.hpp"

#include "console/ansi/escapes.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace console::posix {
namespace {

// A size for terminals that do not tell theirs: the classic console's,
// or the session's least when that is larger, so the session fits.
TerminalSize assumed_size(TerminalSize least) {
    return TerminalSize{std::max(80, least.columns), std::max(50, least.rows)};
}

void write_or_end(int fd, std::string_view bytes) {
    if (!write_all(fd, bytes))
        throw SessionEnded{};
}

} // namespace

TerminalView::TerminalView(int out_fd, CellScreen& model, NativeNeeds needs)
    : out_(out_fd), model_(model), needs_(std::move(needs)) {
    update_size();
}

void TerminalView::update_size() {
    const TerminalSize now = terminal_size(out_).value_or(assumed_size(needs_.least));
    if (now == size_)
        return;
    size_ = now;
    ansi::fit_model(model_, now, needs_.least);
    // The terminal may have kept, moved or dropped what it showed.
    redraw_all();
}

void TerminalView::flush() {
    const std::string out = presenter_.next_frame(model_, cursor_visible_);
    if (!out.empty())
        write_or_end(out_, out);
}

void TerminalView::show_size_notice() {
    const std::vector<std::string> paragraphs =
        needs_.size_notice ? needs_.size_notice(size_, needs_.least) : std::vector<std::string>{};
    write_or_end(out_, ansi::size_notice(paragraphs, size_));
}

void TerminalView::redraw_all() {
    presenter_.redraw_all();
}

void TerminalView::forget_terminal() {
    presenter_.forget_terminal();
}

void TerminalView::send_growth_request() {
    if (!growth_requested_)
        return;
    growth_requested_ = false;
    update_size();
    if (fits())
        return; // never smaller: a second request changes nothing
    const int rows = std::max(size_.rows, needs_.least.rows);
    const int columns = std::max(size_.columns, needs_.least.columns);
    std::string request(ansi::csi);
    request += "8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t";
    write_or_end(out_, request);
    // Few terminals honour it, and those that do take a moment: the size is
    // read again at every turn of the wait.
}

} // namespace console::posix
