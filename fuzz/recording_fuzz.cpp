// A recording from a stranger, whatever its bytes: the reader takes it or
// refuses it with a line inside the file, every event it takes writes back
// to a line that reads as the same event, the board's check of the text it
// shows (the program line, the names) passes no control byte, and the
// replay on a budget of session time ends with a verdict of one line.
// Nothing may crash, hang or trip a sanitizer.
#include "fuzz/fault.hpp"
#include "replay/check.hpp"
#include "replay/line_format.hpp"
#include "replay/recording_file.hpp"
#include "server/shown_text.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Long enough for a few games, short enough that an input replays in
// milliseconds; the server's own budget is hours, its CPU cap the guard.
constexpr std::int64_t SESSION_MS = 5LL * 60 * 1000;

// What the board takes as showable holds no control byte and fits.
void check_shown(std::string_view text, std::size_t max_bytes) {
    const auto why = board::unshowable(text, max_bytes);
    if (why && (why->empty() || why->find('\n') != std::string::npos))
        fault("a reason not to show text is not one line");
    if (!why && (text.size() > max_bytes || std::any_of(text.begin(), text.end(), [](char c) {
                     return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
                 })))
        fault("text with a control byte, or too long, is taken as showable");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_shown(text, text.size());
    const auto read = replay::read_recording(text);
    if (const auto* refusal = std::get_if<replay::Refusal>(&read)) {
        const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (refusal->line < 1 || refusal->line > lines)
            fault("a refusal names a line outside the file");
        if (refusal->what.empty() || refusal->what.find('\n') != std::string::npos)
            fault("a refusal is not one line");
        return 0;
    }
    const auto& recording = std::get<replay::Recording>(read);
    check_shown(recording.made_by, 200);
    for (const replay::Event& event : recording.events) {
        std::string line = replay::line_of(event);
        line.pop_back();
        const auto again = replay::parse_event(line);
        if (!std::holds_alternative<replay::Event>(again) ||
            !(std::get<replay::Event>(again) == event))
            fault("an event does not read back as itself");
    }
    if (replay::least_session_ms(recording) > SESSION_MS)
        return 0;
    replay::ReplayOptions options;
    options.budget.session_ms = SESSION_MS;
    const replay::Verdict verdict = replay::check_recording(recording, options);
    if (verdict.outcome != replay::Verdict::Outcome::confirmed &&
        (verdict.what.empty() || verdict.what.find('\n') != std::string::npos))
        fault("a verdict is not one line");
    return 0;
}
