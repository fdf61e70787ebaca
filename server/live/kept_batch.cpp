#include "server/live/kept_batch.hpp"

#include "server/live/stream_lines.hpp"

#include <nlohmann/json.hpp>

namespace live {

using nlohmann::json;

std::string holds_text(const std::vector<BatchHold>& holds) {
    json out = json::array();
    for (const BatchHold& h : holds)
        out.push_back(h.key ? json::array({h.frame, h.ms, "key"}) : json::array({h.frame, h.ms}));
    return out.dump();
}

std::optional<RestoredBatch> restored_batch(const board::LiveBatch& kept) {
    // The batch as a stranger would have sent it: read by the one reader
    // of batches, so what is read back is what was read then.
    const json body{{"secret", "0"},
                    {"seq", kept.seq},
                    {"lines", kept.lines},
                    {"frame", kept.frame},
                    {"holds", json::parse(kept.holds, nullptr, false)}};
    const auto read = read_batch(body.dump(-1, ' ', false, json::error_handler_t::replace));
    const auto* batch = std::get_if<BatchBody>(&read);
    if (batch == nullptr)
        return std::nullopt;
    auto events = StreamLines::read(batch->lines, batch->seq == 1);
    auto* read_events = std::get_if<std::vector<replay::Event>>(&events);
    if (read_events == nullptr)
        return std::nullopt;
    return RestoredBatch{std::move(*read_events),
                         Mark{batch->seq, batch->frame, kept.received_ms, batch->holds, true}};
}

} // namespace live
