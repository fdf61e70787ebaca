#include "memory_store.hpp"

#include <algorithm>
#include <tuple>

namespace pages_test {

std::int64_t MemoryStore::add(board::StoredRun run, std::string recording) {
    run.id = static_cast<std::int64_t>(runs_.size()) + 1;
    recordings_[run.id] = std::move(recording);
    runs_.push_back(std::move(run));
    return runs_.back().id;
}

board::Inserted MemoryStore::insert_run(const board::NewRun& run) {
    return {add({0, run.sha256, run.received_ms, run.made_by, run.games}, run.bytes), true, false};
}

std::vector<board::Placed> MemoryStore::all(const board::BoardQuery& query) const {
    std::vector<board::Placed> games;
    for (const board::StoredRun& run : runs_)
        for (std::size_t i = 0; i < run.games.size(); ++i) {
            const board::Game& g = run.games[i];
            if ((query.level && g.start_level != *query.level) ||
                (query.kind && g.kind != *query.kind))
                continue;
            games.push_back({0, run.id, static_cast<int>(i), run.received_ms, g});
        }
    std::sort(games.begin(), games.end(), [](const board::Placed& a, const board::Placed& b) {
        return std::tuple(-a.game.points, a.received_ms, a.run_id, a.game_index) <
               std::tuple(-b.game.points, b.received_ms, b.run_id, b.game_index);
    });
    for (std::size_t i = 0; i < games.size(); ++i)
        games[i].place = static_cast<std::int64_t>(i) + 1;
    return games;
}

std::vector<board::Placed> MemoryStore::board(const board::BoardQuery& query) {
    const std::vector<board::Placed> games = all(query);
    const auto from = std::min<std::size_t>(games.size(), static_cast<std::size_t>(query.offset));
    const auto to =
        std::min<std::size_t>(games.size(), from + static_cast<std::size_t>(query.limit));
    return {games.begin() + static_cast<std::ptrdiff_t>(from),
            games.begin() + static_cast<std::ptrdiff_t>(to)};
}

std::int64_t MemoryStore::count(const board::BoardQuery& query) {
    return static_cast<std::int64_t>(all(query).size());
}

std::optional<board::StoredRun> MemoryStore::run(std::int64_t id) {
    if (id < 1 || id > static_cast<std::int64_t>(runs_.size()))
        return std::nullopt;
    return runs_[static_cast<std::size_t>(id - 1)];
}

std::vector<std::int64_t> MemoryStore::places(std::int64_t run_id, const board::BoardQuery& query) {
    std::vector<std::int64_t> places;
    for (const board::Placed& p : all(query))
        if (p.run_id == run_id) {
            places.resize(
                std::max<std::size_t>(places.size(), static_cast<std::size_t>(p.game_index) + 1));
            places[static_cast<std::size_t>(p.game_index)] = p.place;
        }
    return places;
}

std::vector<board::Placed> MemoryStore::board_after(const board::BoardQuery& query,
                                                    const board::BoardCursor& after) {
    const auto key = [](const board::Placed& p) {
        return std::make_tuple(-p.game.points, p.received_ms, p.run_id, p.game_index);
    };
    const auto cut =
        std::make_tuple(-after.points, after.received_ms, after.run_id, after.game_index);
    std::vector<board::Placed> out;
    for (const board::Placed& p : all(query))
        if (key(p) > cut && out.size() < static_cast<std::size_t>(query.limit))
            out.push_back(p);
    return out;
}

std::vector<board::GamePlaces> MemoryStore::run_places(std::int64_t run_id) {
    const std::optional<board::StoredRun> found = run(run_id);
    if (!found)
        return {};
    const std::vector<std::int64_t> overall = places(run_id, board::BoardQuery{});
    std::vector<board::GamePlaces> out;
    for (std::size_t i = 0; i < found->games.size(); ++i) {
        board::BoardQuery its_level;
        its_level.level = found->games[i].start_level;
        const std::vector<std::int64_t> in_level = places(run_id, its_level);
        out.push_back({i < overall.size() ? overall[i] : 0, i < in_level.size() ? in_level[i] : 0});
    }
    return out;
}

std::optional<std::string> MemoryStore::recording(std::int64_t id) {
    const auto found = recordings_.find(id);
    return found == recordings_.end() ? std::nullopt : std::optional(found->second);
}

board::Ticket MemoryStore::issue_ticket(std::uint32_t seed, std::int64_t issued_ms) {
    return {"t", seed, issued_ms, std::nullopt};
}
std::optional<board::Ticket> MemoryStore::ticket(const std::string&) {
    return std::nullopt;
}
std::int64_t MemoryStore::purge_tickets(std::int64_t) {
    return 0;
}

board::Game game(std::string name, std::int64_t points, int start_level, int end_level,
                 std::string ending) {
    board::Game g;
    g.name = std::move(name);
    g.points = points;
    g.start_level = start_level;
    g.end_level = end_level;
    g.ending = std::move(ending);
    return g;
}

} // namespace pages_test
