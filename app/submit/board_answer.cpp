#include "app/submit/board_answer.hpp"

#include "app/submit/server_address.hpp"
#include "common/game_text.hpp"

#include <nlohmann/json.hpp>

namespace submit {
namespace {

using nlohmann::json;

const json* field(const json& object, std::string_view name) {
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

std::optional<std::int64_t> whole(const json& object, std::string_view name) {
    const json* value = field(object, name);
    if (value == nullptr || !value->is_number_integer())
        return std::nullopt;
    return value->get<std::int64_t>();
}

std::optional<std::string> text(const json& object, std::string_view name) {
    const json* value = field(object, name);
    if (value == nullptr || !value->is_string())
        return std::nullopt;
    return value->get<std::string>();
}

std::optional<BoardGame> read_game(const json& game) {
    if (!game.is_object())
        return std::nullopt;
    const auto name = text(game, "name");
    const auto points = whole(game, "points");
    const auto start_level = whole(game, "start_level");
    const auto kind = text(game, "kind");
    const auto place = whole(game, "place");
    const auto level_place = whole(game, "level_place");
    if (!name || !points || !start_level || *start_level < 1 || *start_level > 4 || !kind ||
        (*kind != "open" && *kind != "ranked") || !place || *place < 1 || !level_place ||
        *level_place < 1)
        return std::nullopt;
    return BoardGame{*name,  *points,     static_cast<int>(*start_level), *kind == "ranked",
                     *place, *level_place};
}

json parsed(std::string_view body) {
    // No exceptions: a body that is not JSON comes back discarded.
    return json::parse(body.begin(), body.end(), nullptr, false);
}

} // namespace

std::optional<StoredRun> read_stored_run(std::string_view body) {
    const json answer = parsed(body);
    if (!answer.is_object())
        return std::nullopt;
    const auto id = whole(answer, "id");
    const auto page = text(answer, "page");
    const json* games = field(answer, "games");
    // The page is a path on the board itself, never an address elsewhere.
    if (!id || !page || !page->starts_with('/') || page->starts_with("//") || games == nullptr ||
        !games->is_array())
        return std::nullopt;
    StoredRun run{*id, *page, {}};
    for (const json& game : *games) {
        std::optional<BoardGame> read = read_game(game);
        if (!read)
            return std::nullopt;
        run.games.push_back(*std::move(read));
    }
    return run;
}

std::optional<std::string> read_error(std::string_view body) {
    const json answer = parsed(body);
    if (!answer.is_object())
        return std::nullopt;
    return text(answer, "error");
}

std::string player_lines(const StoredRun& run, const std::string& board, Arrival arrival) {
    std::string lines;
    for (const BoardGame& game : run.games) {
        lines += common::printable(game.name);
        lines += ": ";
        lines += std::to_string(game.points);
        lines += " pontos, ";
        lines += std::to_string(game.place);
        lines += "o lugar no quadro, ";
        lines += std::to_string(game.level_place);
        lines += "o no nivel ";
        lines += std::to_string(game.start_level);
        lines += game.ranked ? " (jogo ranqueado)\n" : " (jogo aberto)\n";
    }
    lines += arrival == Arrival::stored ? "Partida guardada no quadro: "
                                        : "Esta partida ja estava no quadro: ";
    lines += common::printable(under(board, run.page));
    lines += '\n';
    return lines;
}

} // namespace submit
