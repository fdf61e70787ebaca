#include "server/service/live_keeper.hpp"

#include "replay/recording_file.hpp"
#include "server/answers.hpp"
#include "server/sha256.hpp"

namespace board {

std::int64_t StoreKeeper::opened(std::int64_t at_ms) {
    return stores_.take()->open_live(at_ms);
}

void StoreKeeper::dealt(std::int64_t session, int game, std::uint32_t seed, std::int64_t at_ms) {
    stores_.take()->deal_live(session, game, seed, at_ms);
}

void StoreKeeper::batch(std::int64_t session, std::int64_t seq, std::int64_t at_ms,
                        const std::string& lines) {
    batches_.commit(LiveBatch{session, seq, at_ms, lines});
}

std::string StoreKeeper::ended(std::int64_t session, const std::string& recording,
                               const std::vector<live::EndedGame>& games) {
    NewRun run;
    run.sha256 = sha256_hex(recording);
    run.bytes = recording;
    run.received_ms = now_ms_();
    // The first batch's header was read before it was taken.
    const auto read = replay::read_recording(recording);
    if (const auto* whole = std::get_if<replay::Recording>(&read))
        run.made_by = whole->made_by;
    for (const live::EndedGame& g : games) {
        run.games.push_back(g.game);
        run.games.back().reason = g.open_reason;
        run.games.back().holds = g.holds;
    }
    auto store = stores_.take();
    const Inserted inserted = store->end_live(session, run);
    const auto answer = run_answer(*store, inserted.id, false);
    return answer ? json_text(*answer) : std::string();
}

} // namespace board
