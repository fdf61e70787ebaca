#pragma once
// A live session's batches as the store keeps them and as the replay is
// fed them: what a server reads back to carry on a session that another
// server, or this one before a restart, took.

#include "server/live/batch_body.hpp"
#include "server/live/live_events.hpp"
#include "server/store.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace live {

// A batch's holds as the store keeps them: "[[frame, ms], ...]".
std::string holds_text(const std::vector<BatchHold>& holds);

// A kept batch, read again as it was read when it came: its events, and its
// mark with the time it came, so the replay judges it as it did then.
struct RestoredBatch {
    std::vector<replay::Event> events;
    Mark mark;
};

// None when the kept batch does not read (a board kept only what read).
std::optional<RestoredBatch> restored_batch(const board::LiveBatch& kept);

} // namespace live
