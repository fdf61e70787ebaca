#include "server/answers.hpp"

#include "server/store_text.hpp"

#include <charconv>
#include <ctime>

namespace board {
namespace {

std::string run_page(std::int64_t id) {
    return "/runs/" + std::to_string(id);
}

std::optional<std::int64_t> whole(const std::string& text, std::int64_t least, std::int64_t most) {
    std::int64_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || v < least ||
        v > most)
        return std::nullopt;
    return v;
}

Json level_json(const std::optional<int>& level) {
    return level ? Json(std::to_string(*level)) : Json("all");
}

} // namespace

std::string iso_utc(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return std::string(text, n);
}

Json game_json(const Game& g) {
    return Json{{"name", g.name},
                {"points", g.points},
                {"start_level", g.start_level},
                {"end_level", g.end_level},
                {"lives", g.lives},
                {"ending", g.ending},
                {"frames", g.frames},
                {"kind", std::string(kind_text(g.kind))}};
}

std::optional<Json> run_answer(Store& store, std::int64_t id, bool detail) {
    const auto run = store.run(id);
    if (!run)
        return std::nullopt;
    const auto places = store.places(id, BoardQuery{});
    Json games = Json::array();
    for (std::size_t i = 0; i < run->games.size(); ++i) {
        const Game& g = run->games[i];
        Json game = game_json(g);
        game["place"] = i < places.size() ? places[i] : 0;
        BoardQuery its_level;
        its_level.level = g.start_level;
        const auto level_places = store.places(id, its_level);
        game["level_place"] = i < level_places.size() ? level_places[i] : 0;
        games.push_back(std::move(game));
    }
    Json answer{{"id", id}};
    if (detail) {
        answer["sha256"] = run->sha256;
        answer["received"] = iso_utc(run->received_ms);
        answer["made_by"] = "orbitrix " + run->made_by;
    }
    answer["page"] = run_page(id);
    answer["replay"] = run_page(id) + ".replay";
    answer["games"] = std::move(games);
    return answer;
}

std::variant<BoardQuery, std::string>
board_query(const std::multimap<std::string, std::string>& params) {
    BoardQuery q;
    for (const auto& [key, value] : params) {
        if (key == "level") {
            if (value == "all")
                q.level.reset();
            else if (const auto level = whole(value, 1, 4))
                q.level = static_cast<int>(*level);
            else
                return std::string("level is 1 to 4 or all");
        } else if (key == "kind") {
            if (value == "all")
                q.kind.reset();
            else if (value == "open" || value == "ranked")
                q.kind = kind_of(value);
            else
                return std::string("kind is ranked, open or all");
        } else if (key == "limit") {
            const auto limit = whole(value, 1, 100);
            if (!limit)
                return std::string("limit is 1 to 100");
            q.limit = static_cast<int>(*limit);
        } else if (key == "offset") {
            const auto offset = whole(value, 0, std::int64_t{1} << 53);
            if (!offset)
                return std::string("offset is a whole number, 0 or more");
            q.offset = *offset;
        } else {
            return "unknown parameter '" + key + "' (level, kind, limit, offset)";
        }
    }
    return q;
}

Json board_answer(Store& store, const BoardQuery& q) {
    Json games = Json::array();
    for (const Placed& p : store.board(q)) {
        Json game = game_json(p.game);
        game["place"] = p.place;
        game["run"] = p.run_id;
        game["game"] = p.game_index;
        game["received"] = iso_utc(p.received_ms);
        games.push_back(std::move(game));
    }
    return Json{{"level", level_json(q.level)},
                {"kind", q.kind ? Json(std::string(kind_text(*q.kind))) : Json("all")},
                {"limit", q.limit},
                {"offset", q.offset},
                {"total", store.count(q)},
                {"games", std::move(games)}};
}

std::string error_body(const std::string& reason) {
    return json_text(Json{{"error", reason}});
}

std::string json_text(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace board
