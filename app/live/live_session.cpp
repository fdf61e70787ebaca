#include "app/live/live_session.hpp"

#include "app/submit/board_answer.hpp"
#include "app/submit/submit_command.hpp"
#include "common/game_text.hpp"
#include "console/glyphs.hpp"

#include <algorithm>
#include <chrono>
#include <ostream>

namespace live {
namespace {

constexpr int CREATED = 201;

constexpr http::TimeLimits OPEN_LIMITS{std::chrono::milliseconds{5'000},
                                       std::chrono::milliseconds{10'000}};

std::string refusal(const http::Outcome& outcome, const std::string& board) {
    if (const auto* failure = std::get_if<http::Failure>(&outcome))
        return "cannot reach the board at " + board + ": " + failure->what;
    const auto& response = std::get<http::Response>(outcome);
    const auto said = submit::read_error(response.body);
    return "the board at " + board + " answered " +
           (said ? common::printable(*said) : "status " + std::to_string(response.status));
}

} // namespace

std::int64_t steady_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

http::Outcome post_to_board(const http::Request& request, http::TimeLimits limits) {
    return http::send(request, limits);
}

std::unique_ptr<Session> Session::open(const std::vector<std::string>& boards, Post post,
                                       std::function<std::int64_t()> steady_ms, std::ostream& err,
                                       Patience patience) {
    std::string why;
    for (const std::string& board : boards) {
        const http::Outcome outcome = post(open_request(board), OPEN_LIMITS);
        const auto* response = std::get_if<http::Response>(&outcome);
        if (response != nullptr && response->status == CREATED)
            if (auto opened = read_opened(response->body)) {
                // The board that answered comes first.
                std::vector<std::string> order{board};
                for (const std::string& other : boards)
                    if (other != board)
                        order.push_back(other);
                return std::make_unique<Session>(std::move(order), std::move(post),
                                                 std::move(*opened), std::move(steady_ms),
                                                 patience);
            }
        why = response != nullptr && response->status == CREATED
                  ? "the board at " + board + " answered with something that is not a session"
                  : refusal(outcome, board);
    }
    err << "orbitrix: no ranked session: " << why << std::endl;
    return nullptr;
}

Session::Session(std::vector<std::string> boards, Post post, Opened opened,
                 std::function<std::int64_t()> steady_ms, Patience patience)
    : boards_(std::move(boards)), post_(std::move(post)), opened_(std::move(opened)),
      steady_ms_(std::move(steady_ms)), patience_(patience),
      sender_(feed_, boards_, post_, opened_, patience.grace_ms), loop_(sender_, steady_ms_) {}

GameDeal Session::deal(const std::string& name, int level) {
    // A board that does not answer gives the deal to the next one, as it
    // gives the batches, all within the one wait a game has for its deal.
    // A board's refusal is the board's word, and stands.
    const std::int64_t until = steady_ms_() + DEAL_WAIT.count();
    std::string why;
    for (std::size_t tried = 0; tried < boards_.size(); ++tried) {
        const std::chrono::milliseconds left{until - steady_ms_()};
        if (left <= std::chrono::milliseconds::zero())
            break;
        const std::string board = boards_.current();
        const http::Outcome outcome =
            post_(deal_request(board, opened_, console::text_utf8(name), level),
                  http::TimeLimits{std::min(left, DEAL_WAIT / 2), left});
        const auto* response = std::get_if<http::Response>(&outcome);
        if (response != nullptr && response->status == CREATED) {
            if (auto dealt = read_dealt(response->body)) {
                sender_.dealt(dealt->secret, steady_ms_());
                deals_.push_back(GameDeal{*dealt, {}});
                return deals_.back();
            }
            why = "the board's deal was not one";
            break;
        }
        why = refusal(outcome, board);
        if (response != nullptr && response->status < 500)
            break;
        boards_.failed(board);
    }
    deals_.push_back(GameDeal{std::nullopt, why});
    return deals_.back();
}

int Session::finish(const std::string& recording, std::ostream& out, std::ostream& err) {
    feed_.end();
    loop_.finish(patience_.last_wait);
    for (std::size_t i = 0; i < deals_.size(); ++i)
        if (!deals_[i].dealt)
            err << "orbitrix: game " << i + 1 << " played open: no seed dealt: " << deals_[i].why
                << std::endl;
    const std::string board = boards_.current();
    if (sender_.state() == Sender::State::done) {
        if (const auto run = submit::read_stored_run(sender_.run_body())) {
            out << submit::player_lines(*run, board, submit::Arrival::stored) << std::flush;
            return submit::STORED;
        }
    }
    if (sender_.state() == Sender::State::waiting)
        return submit::STORED; // no game was dealt: nothing to tell
    const std::string why = sender_.state() == Sender::State::streaming
                                ? "the board did not acknowledge the session's last keys"
                                : sender_.why();
    err << "orbitrix: the session did not reach the board live: " << why << "\n"
        << "orbitrix: it is kept in " << recording << "; send it as an open run with:\n"
        << "  orbitrix --submit " << recording << " --server " << board << std::endl;
    return submit::NOT_STORED;
}

} // namespace live
