#include "server/live/live_replay.hpp"

#include "console/forwarding_platform.hpp"
#include "console/memory_console.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"

#include <limits>
#include <thread>

namespace live {
namespace {

// Between the game and the stream's events, on the replay's thread: keys
// and clock answers from the batches, waits summed as the least time the
// game takes, and each dealt game judged at every batch the replay reaches.
class StreamPlatform : public console::ForwardingPlatform, public game::Observador {
  public:
    StreamPlatform(console::MemoryConsole& con, LiveEvents& events, const LiveHooks& hooks,
                   const JudgeRules& rules)
        : ForwardingPlatform(con.platform), con_(con), events_(events), hooks_(hooks),
          rules_(rules) {}

    bool kbhit() override {
        ++frames_;
        if (hooks_.frame)
            hooks_.frame(con_.screen, frames_);
        judge_reached();
        const std::optional<bool> waits = events_.key_waits();
        if (!waits)
            stream_ended();
        return *waits;
    }
    int getch() override {
        const std::optional<int> key = events_.take_key();
        if (!key)
            stream_ended();
        return *key;
    }
    std::int64_t time() override {
        const std::optional<std::int64_t> seconds = events_.take_time();
        if (!seconds)
            stream_ended();
        if (choosing_) {
            // The clock read after the level key seeds the game's play.
            choosing_ = false;
            const auto seed = static_cast<std::uint32_t>(*seconds);
            if (const auto matched = hooks_.match ? hooks_.match(seed) : std::nullopt)
                current_.emplace(
                    Current{matched->first, matched->second, own_ms_, frames_, Judge(rules_), {}});
            else
                undealt_ = true;
        }
        return *seconds;
    }
    void sleep(int ms) override {
        own_ms_ += std::max(0, ms);
        ForwardingPlatform::sleep(ms);
    }
    void beep(int hz, int ms) override {
        own_ms_ += std::max(0, ms);
        ForwardingPlatform::beep(hz, ms);
    }

    void partida_comeca() override {
        choosing_ = false;
        undealt_ = false;
        current_.reset();
    }
    void nivel_escolhido(const std::string& /*nome*/, int /*nivel*/) override { choosing_ = true; }
    void partida_termina(const game::Resultado& resultado) override {
        if (current_) {
            judge_reached();
            Judge& judge = current_->judge;
            LiveVerdict verdict{resultado,
                                !cut_,
                                current_->reason ? current_->reason : judge.reason(),
                                judge.holds(),
                                judge.held_ms(),
                                frames_ - current_->first_frame};
            if (cut_ && !verdict.open_reason)
                verdict.open_reason = "cut off: the stream stopped before the game ended";
            if (hooks_.judged)
                hooks_.judged(current_->game, verdict);
        } else if (undealt_ && hooks_.judged) {
            hooks_.judged(0, LiveVerdict{resultado, !cut_, "no seed was dealt to it", 0, 0, 0});
        }
        current_.reset();
        undealt_ = false;
    }

  private:
    struct Current {
        int game;
        DealtGame dealt;
        std::int64_t base_ms; // the least time before its deal
        std::int64_t first_frame;
        Judge judge;
        std::optional<std::string> reason; // found by the replay itself
        std::int64_t judged_frame = -1;
    };

    [[noreturn]] void stream_ended() {
        cut_ = true;
        throw console::SessionEnded{100};
    }

    void judge_reached() {
        for (Mark& mark : events_.reached()) {
            if (!current_)
                continue;
            Current& c = *current_;
            int holds = 0;
            std::int64_t held_ms = 0;
            for (const BatchHold& h : mark.holds)
                if (h.frame >= c.first_frame) {
                    ++holds;
                    held_ms += h.ms;
                }
            const bool moved = mark.frame > c.judged_frame;
            c.judged_frame = std::max(c.judged_frame, mark.frame);
            c.judge.add(
                Judged{mark.arrived_ms - c.dealt.dealt_ms, own_ms_ - c.base_ms, holds, held_ms},
                moved);
        }
        if (current_ && !current_->reason && events_.contradicted())
            current_->reason = "its keys and the frames it reported disagree";
    }

    console::MemoryConsole& con_;
    LiveEvents& events_;
    const LiveHooks& hooks_;
    const JudgeRules& rules_;
    std::int64_t frames_ = 0;
    std::int64_t own_ms_ = 0;
    bool choosing_ = false;
    bool undealt_ = false;
    bool cut_ = false;
    std::optional<Current> current_;
};

} // namespace

struct LiveReplay::Running {
    std::thread thread;
};

LiveReplay::LiveReplay(LiveHooks hooks, JudgeRules rules)
    : events_(std::make_unique<LiveEvents>()), running_(std::make_unique<Running>()) {
    running_->thread = std::thread([events = events_.get(), hooks = std::move(hooks), rules] {
        // Built here: a console is installed for the thread that makes it.
        const auto con = std::make_unique<console::MemoryConsole>();
        con->platform.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
        StreamPlatform platform(*con, *events, hooks, rules);
        const console::Installation installed(con->screen, platform);
        try {
            game::sessao(platform);
        } catch (const console::SessionEnded&) {
        }
    });
}

void LiveReplay::finish() {
    events_->close();
    if (running_->thread.joinable())
        running_->thread.join();
}

LiveReplay::~LiveReplay() {
    finish();
}

} // namespace live
