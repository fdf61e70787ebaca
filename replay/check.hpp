#pragma once
// The one way a recording is replayed and judged: the session played
// through at no speed limit, on the in-memory console or on a stage of the
// caller's (the cast's terminal), with each replayed game compared with
// the recorded one. What --verify prints, the cast --export makes and what
// the board stores all come from the Verdict this returns.

#include "console/platform.hpp"
#include "console/screen_buffer.hpp"
#include "game/resultado.hpp"
#include "replay/event_source.hpp"
#include "replay/recording.hpp"
#include "replay/verdict.hpp"

#include <cstdint>
#include <optional>

namespace replay {

// Where the session draws and waits: a screen and the platform under the
// replay, which hears every wait and tone but none of the keys or clock
// reads (the recording answers those).
struct Stage {
    console::ScreenBuffer& screen;
    console::Platform& platform;
};

struct ReplayOptions {
    // None: the in-memory console, seen by no one.
    std::optional<Stage> stage;
    // Hears of every game as it is played (its start, its levels, its
    // end), before the verdict compares it; none: no one.
    game::Observador* watch = nullptr;
    Budget budget;
    // A key the session waited for is held on the stage a moment, as the
    // player saw it; a live replay takes it at once.
    bool hold_awaited_keys = true;
};

// Every no-key answer costs the session at least one frame's delay, so the
// recording's own counts bound its length before anything is replayed.
// The session time the counts alone ask for, in ms, saturating.
std::int64_t least_session_ms(const Recording& recording);

Verdict check_recording(const Recording& recording, const ReplayOptions& options = {});
// The same, the events taken from `source` as the session asks for them: a
// live session's, which may wait for the next batch.
Verdict check_events(EventSource& source, const ReplayOptions& options = {});

} // namespace replay
