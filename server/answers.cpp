#include "server/answers.hpp"

#include "server/board_cursor.hpp"
#include "server/store_text.hpp"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <string_view>
#include <vector>

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
    Json game{{"name", g.name},
                {"points", g.points},
                {"start_level", g.start_level},
                {"end_level", g.end_level},
                {"lives", g.lives},
                {"ending", g.ending},
                {"frames", g.frames},
                {"kind", std::string(kind_text(g.kind))}};
    // Only what a game played live may have: the reason it is open all the
    // same, and how often its player held it.
    if (!g.reason.empty())
        game["open_because"] = g.reason;
    if (g.holds > 0)
        game["holds"] = g.holds;
    return game;
}

std::optional<Json> run_answer(Store& store, std::int64_t id, bool detail) {
    const auto run = store.run(id);
    if (!run)
        return std::nullopt;
    const std::vector<GamePlaces> places = store.run_places(id);
    Json games = Json::array();
    for (std::size_t i = 0; i < run->games.size(); ++i) {
        const GamePlaces placed = i < places.size() ? places[i] : GamePlaces{};
        Json game = game_json(run->games[i]);
        game["place"] = placed.overall;
        game["level_place"] = placed.in_level;
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
        } else if (key == "after") {
            if (!read_cursor(value))
                return std::string("after is a cursor from an answer's next");
        } else {
            return "unknown parameter '" + key + "' (level, kind, limit, offset, after)";
        }
    }
    return q;
}

std::variant<BoardRequest, std::string>
board_request(const std::multimap<std::string, std::string>& params) {
    auto q = board_query(params);
    if (auto* reason = std::get_if<std::string>(&q))
        return std::move(*reason);
    BoardRequest request{std::get<BoardQuery>(q), std::nullopt};
    const auto after = params.equal_range("after");
    if (after.first == after.second)
        return request;
    if (std::next(after.first) != after.second)
        return std::string("after is given once");
    if (params.contains("offset"))
        return std::string("after and offset do not go together");
    request.after = read_cursor(after.first->second);
    return request;
}

namespace {

// A text as a JSON string, escaped as the rest of the API's text is. Most
// are printable ASCII with nothing to escape, and are copied as they are.
void append_string(std::string& out, std::string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= ' ' && c <= '~' && c != '"' && c != '\\';
    });
    if (!plain) {
        out += json_text(Json(text));
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

// One JSON object's fields, in the order given, on the end of `out`.
class ObjectText {
  public:
    explicit ObjectText(std::string& out) : out_(out) { out_ += '{'; }
    ObjectText& field(std::string_view key, std::int64_t value) {
        name(key);
        out_ += std::to_string(value);
        return *this;
    }
    ObjectText& field(std::string_view key, std::string_view text) {
        name(key);
        append_string(out_, text);
        return *this;
    }
    // The last field, an array, left open for its elements.
    void open_array(std::string_view key) {
        name(key);
        out_ += '[';
    }
    void close() { out_ += '}'; }

  private:
    void name(std::string_view key) {
        if (out_.back() != '{')
            out_ += ',';
        out_ += '"';
        out_ += key;
        out_ += "\":";
    }
    std::string& out_;
};

} // namespace

// The board's answer is the server's busiest read. Written straight out, it
// costs a fraction of building the document first; the bytes are those
// json_text would give the same document.
std::string board_text(Store& store, const BoardQuery& q) {
    return requested_board_text(store, BoardRequest{q, std::nullopt});
}

std::string requested_board_text(Store& store, const BoardRequest& request) {
    const BoardQuery& q = request.query;
    const std::vector<Placed> placed =
        request.after ? store.board_after(q, *request.after) : store.board(q);
    std::string out;
    out.reserve(160 + placed.size() * 240);
    ObjectText fields(out);
    fields.field("level", q.level ? std::to_string(*q.level) : std::string("all"))
        .field("kind", q.kind ? kind_text(*q.kind) : std::string_view("all"))
        .field("limit", q.limit)
        .field("offset", q.offset)
        .field("total", store.count(q));
    if (request.after)
        fields.field("after", cursor_text(*request.after));
    if (placed.size() == static_cast<std::size_t>(q.limit))
        fields.field("next", cursor_text(cursor_of(placed.back())));
    fields.open_array("games");
    for (const Placed& p : placed) {
        const Game& g = p.game;
        if (&p != placed.data())
            out += ',';
        ObjectText(out)
            .field("name", g.name)
            .field("points", g.points)
            .field("start_level", g.start_level)
            .field("end_level", g.end_level)
            .field("lives", g.lives)
            .field("ending", g.ending)
            .field("frames", g.frames)
            .field("kind", kind_text(g.kind))
            .field("place", p.place)
            .field("run", p.run_id)
            .field("game", p.game_index)
            .field("received", iso_utc(p.received_ms))
            .close();
    }
    out += "]}";
    return out;
}

std::string error_body(const std::string& reason) {
    return json_text(Json{{"error", reason}});
}

std::string json_text(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace board
