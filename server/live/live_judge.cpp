#include "server/live/live_judge.hpp"

#include <algorithm>

namespace live {

void Judge::open_for(std::string why) {
    if (!reason_)
        reason_ = std::move(why);
}

void Judge::add(const Judged& batch, bool moved) {
    holds_ += batch.holds;
    held_ms_ += batch.held_ms;
    if (batch.arrived_ms + rules_.tolerance_ms < batch.least_ms)
        open_for("made in advance: its keys came sooner than the game can be played");
    if (holds_ > rules_.most_holds || held_ms_ > rules_.most_held_ms)
        open_for("held too often or too long: " + std::to_string(holds_) + " holds, " +
                 std::to_string(held_ms_ / 1000) + " s");

    if (!moved)
        return;
    const double slack = static_cast<double>(batch.arrived_ms - held_ms_) -
                         rules_.slow_factor * static_cast<double>(batch.least_ms);
    // The batches now at least a window old join the ones every later
    // window may start from.
    while (!younger_.empty() &&
           batch.arrived_ms - younger_.front().arrived_ms >= rules_.window_ms) {
        least_old_slack_ =
            std::min(least_old_slack_.value_or(younger_.front().slack), younger_.front().slack);
        youngest_old_ = younger_.front();
        younger_.pop_front();
    }
    const std::int64_t unheld_ms = batch.arrived_ms - held_ms_;
    if (youngest_old_ && batch.least_ms > youngest_old_->least_ms)
        worst_ratio_ = std::max(worst_ratio_,
                                static_cast<double>(unheld_ms - youngest_old_->unheld_ms) /
                                    static_cast<double>(batch.least_ms - youngest_old_->least_ms));
    if (least_old_slack_ && slack - *least_old_slack_ > static_cast<double>(rules_.grace_ms))
        open_for("slowed down or sent late: over " + std::to_string(rules_.window_ms / 1000) +
                 " s or more it took longer than the game takes to play");
    younger_.push_back(Point{batch.arrived_ms, slack, unheld_ms, batch.least_ms});
}

} // namespace live
