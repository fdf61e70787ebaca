// A board's live sessions as the store holds them: a session this server
// does not hold (it restarted, or another server opened it) loaded and
// replayed again from its kept batches, at the times they came; a copy
// caught up with what other servers added; and one that went past the
// store replaced by the store's.
#include "server/live/board_session.hpp"
#include "server/live/kept_batch.hpp"

#include <algorithm>

namespace live {

std::shared_ptr<LiveBoard::Session> LiveBoard::load(std::int64_t id) {
    std::optional<board::KeptLive> kept;
    try {
        kept = keeper_.kept(id, 0);
    } catch (const board::StoreError&) {
        return nullptr;
    }
    if (!kept)
        return nullptr;
    auto session = std::make_shared<Session>();
    session->id = id;
    session->secret_sha256 = kept->opened.secret_sha256;
    session->client = kept->opened.client;
    session->opened_ms = kept->opened.opened_ms;
    session->last_batch_ms = kept->opened.opened_ms;
    session->now_ms = now_ms_;
    session->replay = std::make_unique<LiveReplay>(session->hooks(), limits_.rules);
    const std::lock_guard lock(session->mutex);
    try {
        take_kept(*session, *kept);
    } catch (const board::StoreError&) {
        return nullptr;
    }
    return session;
}

void LiveBoard::take_kept(Session& session, const board::KeptLive& kept) {
    {
        const std::lock_guard games(session.games_mutex);
        for (const board::LiveDeal& d : kept.games)
            if (d.number > static_cast<int>(session.games.size())) {
                session.games.push_back(
                    Session::Dealt{d.seed, d.secret_sha256, d.dealt_ms, d.name, d.level, false});
                session.last_batch_ms = std::max(session.last_batch_ms, d.dealt_ms);
            }
    }
    // Fed as they were fed when they came, at the times they came.
    for (const board::LiveBatch& b : kept.batches) {
        if (b.seq != session.next_seq)
            continue;
        const auto restored = restored_batch(b);
        if (!restored)
            break;
        ++session.next_seq;
        session.last_frame = b.frame;
        session.last_batch_ms = std::max(session.last_batch_ms, b.received_ms);
        session.recording += b.lines;
        session.replay->events().append(restored->events, restored->mark);
    }
    if (kept.run_id && !session.ended) {
        session.ended = true;
        session.ended_ms = now_ms_();
        session.next_seq = std::max(session.next_seq, kept.last_seq + 1);
        session.replay->finish();
        session.run_body = keeper_.run_body(*kept.run_id);
        session.finish_watchers();
    }
}

bool LiveBoard::catch_up(Session& session) {
    try {
        const auto kept = keeper_.kept(session.id, session.next_seq - 1);
        if (!kept)
            return false;
        take_kept(session, *kept);
        return true;
    } catch (const board::StoreError&) {
        return false;
    }
}

void LiveBoard::reload(const std::shared_ptr<Session>& stale) {
    auto fresh = load(stale->id);
    if (!fresh)
        return; // the sweep tries again
    stale->replaced = true;
    {
        const std::scoped_lock watch(stale->watch_mutex, fresh->watch_mutex);
        for (auto* list : {&stale->joining, &stale->watching})
            for (Session::Watcher& w : *list)
                fresh->joining.push_back(std::move(w));
        stale->joining.clear();
        stale->watching.clear();
    }
    if (fresh->ended)
        fresh->finish_watchers();
    else
        fresh->replay->want_screen();
    const std::lock_guard lock(mutex_);
    sessions_[stale->id] = std::move(fresh);
}

void LiveBoard::restore() {
    std::vector<std::int64_t> open;
    try {
        open = keeper_.open_sessions();
    } catch (const board::StoreError&) {
        return;
    }
    for (const std::int64_t id : open)
        changed(Change{id, 0, false});
    // Those here the store ended meanwhile.
    std::vector<std::shared_ptr<Session>> here;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [id, s] : sessions_)
            here.push_back(s);
    }
    for (const auto& s : here) {
        if (std::binary_search(open.begin(), open.end(), s->id))
            continue;
        const std::lock_guard lock(s->mutex);
        if (!s->ended && !s->replaced)
            catch_up(*s);
    }
}

void LiveBoard::changed(const Change& change) {
    std::shared_ptr<Session> session;
    {
        const std::lock_guard lock(mutex_);
        const auto found = sessions_.find(change.session);
        if (found != sessions_.end())
            session = found->second;
    }
    if (!session) {
        // A session this server never held, from now on watched here too.
        if (!change.ended)
            find(change.session);
        return;
    }
    const std::lock_guard lock(session->mutex);
    // Its own batches' notices find the copy here ahead already.
    if (session->ended || session->replaced || (change.seq > 0 && change.seq < session->next_seq))
        return;
    catch_up(*session);
}

} // namespace live
