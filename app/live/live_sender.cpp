#include "app/live/live_sender.hpp"

#include "app/submit/board_answer.hpp"

#include <utility>

namespace live {
namespace {

constexpr int OK = 200;
constexpr int CONFLICT = 409;
constexpr int TOO_MANY = 429;
constexpr int FIRST_SERVER_ERROR = 500;

std::string reason(const http::Response& response) {
    const auto said = submit::read_error(response.body);
    return said ? *said : "status " + std::to_string(response.status);
}

} // namespace

Sender::Sender(Feed& feed, Boards& boards, Post post, Opened session, std::int64_t grace_ms)
    : feed_(feed), boards_(boards), post_(std::move(post)), session_(std::move(session)),
      grace_ms_(grace_ms) {}

void Sender::dealt(const std::string& game_secret, std::int64_t now_ms) {
    const std::lock_guard lock(mutex_);
    game_secret_ = game_secret;
    if (state_ == State::waiting) {
        state_ = State::streaming;
        last_progress_ms_ = now_ms;
    }
}

void Sender::stop(State state, std::string why) {
    const std::lock_guard lock(mutex_);
    state_ = state;
    why_ = std::move(why);
}

void Sender::step(std::int64_t now_ms) {
    if (const auto request = due())
        answered(post_(*request, LIMITS), now_ms);
}

std::optional<http::Request> Sender::due() {
    std::string secret;
    {
        const std::lock_guard lock(mutex_);
        if (state_ != State::streaming)
            return std::nullopt;
        secret = game_secret_;
    }
    if (feed_.overflowed()) {
        stop(State::overflow, "the board fell too far behind the game");
        return std::nullopt;
    }
    const std::optional<Batch> batch = feed_.next();
    if (!batch) {
        stop(State::done, {});
        return std::nullopt;
    }
    sent_ = Sent{boards_.current(), batch->seq, batch->last};
    return batch_request(sent_->board, session_, secret, *batch);
}

void Sender::answered(const http::Outcome& outcome, std::int64_t now_ms) {
    if (!sent_)
        return;
    const Sent sent = *sent_;
    sent_.reset();
    const auto* response = std::get_if<http::Response>(&outcome);
    if (response != nullptr && response->status == OK) {
        const auto acked = read_acknowledged(response->body);
        if (acked && acked->seq == sent.seq) {
            feed_.acknowledged(sent.seq);
            const std::lock_guard lock(mutex_);
            last_progress_ms_ = now_ms;
            if (sent.last) {
                state_ = State::done;
                run_body_ = acked->run_body;
            }
            return;
        }
    }
    if (response != nullptr && response->status == CONFLICT)
        return stop(State::ended, "the board ended the game: " + reason(*response));
    if (response != nullptr && response->status >= 400 && response->status < FIRST_SERVER_ERROR &&
        response->status != TOO_MANY)
        return stop(State::refused, "the board refused the game's keys: " + reason(*response));

    // No answer, a busy board or one that answered nonsense: the next board
    // gets the same batch at the next tick.
    boards_.failed(sent.board);
    const std::lock_guard lock(mutex_);
    if (now_ms - last_progress_ms_ > grace_ms_) {
        state_ = State::lost;
        why_ = "no board acknowledged the game's keys for " + std::to_string(grace_ms_ / 1000) +
               " s; the last one tried was " + sent.board;
    }
}

Sender::State Sender::state() const {
    const std::lock_guard lock(mutex_);
    return state_;
}

std::string Sender::why() const {
    const std::lock_guard lock(mutex_);
    return why_;
}

std::string Sender::run_body() const {
    const std::lock_guard lock(mutex_);
    return run_body_;
}

bool Sender::stopped() const {
    const State s = state();
    return s != State::waiting && s != State::streaming;
}

} // namespace live
