#include "server/live/live_replay.hpp"

#include "console/current.hpp"
#include "console/forwarding_platform.hpp"
#include "console/native.hpp"
#include "game/exigencias.hpp"
#include "replay/asciicast.hpp"
#include "replay/check.hpp"
#include "screens/painel.hpp"

#include <algorithm>
#include <ctime>
#include <limits>
#include <thread>
#include <utility>

namespace live {
namespace {

// Reading a CPU clock is a system call: a frame is far cheaper.
constexpr std::int64_t FRAMES_BETWEEN_CPU_READS = 64;

std::int64_t thread_cpu_ns() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// The stage under the replay: the cast's terminal, its waits summed as the
// least time the game takes (the replay takes awaited keys at once), what
// each wait point wrote passed on to the watchers, and the panel's points.
class LiveStage : public console::ForwardingPlatform {
  public:
    LiveStage(replay::CastTerminal& terminal, const LiveHooks& hooks,
              std::atomic<bool>& screen_wanted)
        : ForwardingPlatform(terminal), terminal_(terminal), hooks_(hooks),
          screen_wanted_(screen_wanted) {}

    void sleep(int ms) override {
        own_ms_ += std::max(0, ms);
        ForwardingPlatform::sleep(ms);
        pass_on();
    }
    void beep(int hz, int ms) override {
        own_ms_ += std::max(0, ms);
        ForwardingPlatform::beep(hz, ms);
        pass_on();
    }

    std::int64_t own_ms() const { return own_ms_; }
    // Between wait points, when the replay waits for the player: what the
    // game drew before it asked goes out, as a terminal shows it meanwhile.
    void present_now() {
        terminal_.present();
        pass_on();
    }
    void reading_points(bool in_play) { in_play_ = in_play; }

  private:
    void pass_on() {
        std::vector<replay::CastEvent> events = terminal_.take_events();
        if (!events.empty() && hooks_.output)
            hooks_.output(events);
        if (in_play_)
            read_points();
        if (screen_wanted_.exchange(false) && hooks_.screen)
            hooks_.screen(terminal_.whole_screen(), terminal_.now_ms());
    }

    // The panel's points, read off the screen watchers see.
    void read_points() {
        const auto& model = terminal_.screen();
        const int row = screens::PONTOS.valor.linha;
        if (!hooks_.points || model.row_version(row - 1) == points_version_)
            return;
        points_version_ = model.row_version(row - 1);
        const std::string text =
            model.text(screens::PONTOS.valor.coluna, row, screens::largura(screens::PONTOS));
        std::int64_t points = 0;
        bool digits = false;
        for (const char c : text) {
            if (c < '0' || c > '9')
                break;
            digits = true;
            points = points * 10 + (c - '0');
        }
        if (digits && points != points_)
            hooks_.points(points_ = points);
    }

    replay::CastTerminal& terminal_;
    const LiveHooks& hooks_;
    std::atomic<bool>& screen_wanted_;
    std::int64_t own_ms_ = 0;
    bool in_play_ = false;
    std::uint64_t points_version_ = 0;
    std::int64_t points_ = -1;
};

// Between the replay and the stream's events: each dealt game matched by
// the seed it reads after its level key, and judged at every batch the
// replay reaches; told of every game by the replay.
class Judging : public replay::EventSource, public game::Observador {
  public:
    Judging(LiveEvents& events, LiveStage& stage, const LiveHooks& hooks, const JudgeRules& rules)
        : events_(events), stage_(stage), hooks_(hooks), rules_(rules) {}

    std::optional<bool> key_waits() override {
        ++frames_;
        within_budget();
        judge_reached();
        const std::optional<bool> waits = events_.key_waits();
        cut_ = !waits;
        announced_ = waits.value_or(false);
        return waits;
    }
    std::optional<int> take_key() override {
        // A key no kbhit announced is one the game stopped to wait for:
        // where the player may hold it.
        if (!std::exchange(announced_, false) &&
            (awaited_frames_.empty() || awaited_frames_.back() != frames_))
            awaited_frames_.push_back(frames_);
        const std::optional<int> key = events_.take_key();
        cut_ = !key;
        return key;
    }
    std::optional<std::int64_t> take_time() override {
        const std::optional<std::int64_t> seconds = events_.take_time();
        cut_ = !seconds;
        if (seconds && choosing_) {
            // The clock read after the level key seeds the game's play.
            choosing_ = false;
            const auto seed = static_cast<std::uint32_t>(*seconds);
            if (const auto matched = hooks_.match ? hooks_.match(seed) : std::nullopt)
                current_.emplace(Current{
                    matched->first, matched->second, stage_.own_ms(), frames_, Judge(rules_), {}});
            else
                undealt_ = true;
            stage_.reading_points(true);
        }
        return seconds;
    }
    std::vector<game::Resultado> recorded() const override { return events_.recorded(); }

    void partida_comeca() override {
        choosing_ = false;
        undealt_ = false;
        current_.reset();
    }
    void nivel_escolhido(const std::string& /*nome*/, int /*nivel*/) override { choosing_ = true; }
    void partida_termina(const game::Resultado& resultado) override {
        stage_.reading_points(false);
        if (current_) {
            judge_reached();
            const Judge& judge = current_->judge;
            LiveVerdict verdict{resultado,
                                !cut_,
                                current_->reason ? current_->reason : judge.reason(),
                                judge.holds(),
                                judge.held_ms(),
                                frames_ - current_->first_frame};
            verdict.worst_ratio = judge.worst_ratio();
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

    // Past the budget the replay stops where it is, its game cut off.
    void within_budget() {
        const bool over_time = stage_.own_ms() > rules_.most_session_ms;
        if (!over_time &&
            (frames_ % FRAMES_BETWEEN_CPU_READS != 0 || thread_cpu_ns() <= rules_.most_cpu_ns))
            return;
        if (current_ && !current_->reason)
            current_->reason = over_time ? "over the replay budget: more of the session's own "
                                           "time than the board replays"
                                         : "over the replay budget: more CPU time than the "
                                           "board gives one session";
        cut_ = true;
        throw console::SessionEnded{100};
    }

    void judge_reached() {
        for (Mark& mark : events_.reached()) {
            // A later batch's holds start at this one's frame at the soonest.
            const auto judged = [&] {
                std::erase_if(awaited_frames_, [&](std::int64_t f) { return f < mark.frame; });
            };
            if (!current_) {
                judged();
                continue;
            }
            Current& c = *current_;
            int holds = 0;
            std::int64_t held_ms = 0;
            for (const BatchHold& h : mark.holds)
                if (h.frame >= c.first_frame) {
                    ++holds;
                    held_ms += h.ms;
                    if (h.key && !c.reason &&
                        !std::binary_search(awaited_frames_.begin(), awaited_frames_.end(),
                                            h.frame))
                        c.reason = "held where the game does not wait for the player";
                }
            judged();
            const bool moved = mark.frame > c.judged_frame;
            c.judged_frame = std::max(c.judged_frame, mark.frame);
            c.judge.add(Judged{mark.arrived_ms - c.dealt.dealt_ms, stage_.own_ms() - c.base_ms,
                               holds, held_ms},
                        moved);
        }
        if (current_ && !current_->reason && events_.contradicted())
            current_->reason = "its keys and the frames it reported disagree";
    }

    LiveEvents& events_;
    LiveStage& stage_;
    const LiveHooks& hooks_;
    const JudgeRules& rules_;
    std::int64_t frames_ = 0;
    bool choosing_ = false;
    bool undealt_ = false;
    bool cut_ = false;
    bool announced_ = false; // the last kbhit said a key waits
    // The frames, in order, at which the game waited for a key and whose
    // batches are not all judged yet.
    std::vector<std::int64_t> awaited_frames_;
    std::optional<Current> current_;
};

} // namespace

struct LiveReplay::Running {
    std::atomic<std::int64_t> cpu_ns{0};
    std::thread thread;
};

LiveReplay::LiveReplay(LiveHooks hooks, JudgeRules rules)
    : events_(std::make_unique<LiveEvents>()),
      screen_wanted_(std::make_shared<std::atomic<bool>>(false)),
      running_(std::make_unique<Running>()) {
    running_->thread = std::thread([events = events_.get(), wanted = screen_wanted_,
                                    hooks = std::move(hooks), rules, running = running_.get()] {
        const console::Size size{replay::CAST_COLUMNS, replay::CAST_ROWS};
        const auto terminal =
            std::make_unique<replay::CastTerminal>(size, game::exigencias_do_console().least);
        LiveStage stage(*terminal, hooks, *wanted);
        Judging judging(*events, stage, hooks, rules);
        events->on_poke([&stage] { stage.present_now(); });
        events->on_played(hooks.replayed);
        // The one replay every caller makes, its events from the stream.
        replay::ReplayOptions options;
        options.stage.emplace(replay::Stage{terminal->screen(), stage});
        options.watch = &judging;
        options.hold_awaited_keys = false;
        replay::check_events(judging, options);
        stage.present_now();
        running->cpu_ns = thread_cpu_ns();
    });
}

void LiveReplay::want_screen() {
    screen_wanted_->store(true);
    events_->poke();
}

void LiveReplay::finish() {
    events_->close();
    if (running_->thread.joinable())
        running_->thread.join();
}

std::int64_t LiveReplay::cpu_ns() const {
    return running_->cpu_ns.load();
}

LiveReplay::~LiveReplay() {
    finish();
}

} // namespace live
