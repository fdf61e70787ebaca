#include "server/service/live_keeper.hpp"

#include "replay/recording_file.hpp"
#include "server/answers.hpp"
#include "server/sha256.hpp"

namespace board {

std::int64_t StoreKeeper::opened(const LiveOpened& opened) {
    return stores_.take()->open_live(opened);
}

bool StoreKeeper::dealt(std::int64_t session, const LiveDeal& deal) {
    return stores_.take()->deal_live(session, deal);
}

LiveKept StoreKeeper::batch(std::int64_t session, const LiveBatch& batch) {
    return stores_.take()->add_live_batch(session, batch);
}

std::optional<std::string> StoreKeeper::ended(std::int64_t session, const std::string& recording,
                                              const std::vector<live::EndedGame>& games,
                                              std::int64_t batches, int dealt) {
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
    const std::optional<Inserted> inserted = store->end_live(session, run, batches, dealt);
    if (!inserted)
        return std::nullopt;
    const auto answer = run_answer(*store, inserted->id, false);
    return answer ? json_text(*answer) : std::string();
}

std::vector<std::int64_t> StoreKeeper::open_sessions() {
    return stores_.take()->open_live_sessions();
}

std::optional<KeptLive> StoreKeeper::kept(std::int64_t session, std::int64_t after_seq) {
    return stores_.take()->live_session(session, after_seq);
}

std::string StoreKeeper::run_body(std::int64_t run) {
    auto store = stores_.take();
    const auto answer = run_answer(*store, run, false);
    return answer ? json_text(*answer) : std::string();
}

} // namespace board
