#include "server/pages/run_page.hpp"

#include "server/pages/game_cells.hpp"
#include "server/pages/html.hpp"
#include "server/pages/static_paths.hpp"

#include <map>
#include <vector>

namespace board::pages {
namespace {

std::string kind_text(Kind kind) {
    return kind == Kind::ranked ? "ranqueado" : "aberto";
}

// Each game's place on the board of its own starting level: one question a
// level the run started games on. The answer may hold a place for every
// game of the run, or only for the games on that level's board.
std::vector<std::int64_t> level_places(Store& store, const StoredRun& run) {
    std::map<int, std::vector<std::size_t>> games_by_level;
    for (std::size_t i = 0; i < run.games.size(); ++i)
        games_by_level[run.games[i].start_level].push_back(i);
    std::vector<std::int64_t> places(run.games.size(), 0);
    for (const auto& [level, games] : games_by_level) {
        BoardQuery query;
        query.level = level;
        const std::vector<std::int64_t> found = store.places(run.id, query);
        for (std::size_t k = 0; k < games.size(); ++k) {
            const std::size_t i = games[k];
            if (found.size() == run.games.size())
                places[i] = found[i];
            else if (found.size() == games.size())
                places[i] = found[k];
        }
    }
    return places;
}

std::string place_cell(const std::vector<std::int64_t>& places, std::size_t i) {
    return i < places.size() && places[i] > 0 ? std::to_string(places[i]) : "-";
}

void add_games(std::string& out, Store& store, const StoredRun& run) {
    const std::vector<std::int64_t> overall = store.places(run.id, BoardQuery{});
    const std::vector<std::int64_t> in_level = level_places(store, run);
    out += "<section aria-labelledby=\"partidas\">\n<h2 id=\"partidas\">Partidas</h2>\n"
           "<p>Recebida em " +
           date_html(run.received_ms) + "; programa: <code>" + escaped(run.made_by) +
           "</code>.</p>\n";
    if (run.games.empty()) {
        out += "<p>Nenhuma partida terminou nesta sessao.</p>\n</section>\n";
        return;
    }
    out += "<div class=\"rolagem\">\n<table aria-labelledby=\"partidas\">\n<thead><tr>"
           "<th scope=\"col\">Partida</th><th scope=\"col\">Nome</th><th scope=\"col\">Pontos</th>"
           "<th scope=\"col\">Nivel</th><th scope=\"col\">Fim</th><th scope=\"col\">Vidas</th>"
           "<th scope=\"col\">Tipo</th><th scope=\"col\">Pos</th>"
           "<th scope=\"col\">Pos no nivel</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < run.games.size(); ++i) {
        const Game& g = run.games[i];
        out += "<tr><td class=\"num\">" + std::to_string(i + 1) + "</td><td class=\"nome\">" +
               name_html(g.name) + "</td><td class=\"num\">" + std::to_string(g.points) +
               "</td><td>" + levels_html(g) + "</td><td>" + ending_html(g.ending) +
               "</td><td class=\"num\">" + std::to_string(g.lives) + "</td><td>" +
               kind_text(g.kind) + "</td><td class=\"num\">" + place_cell(overall, i) +
               "</td><td class=\"num\">" + place_cell(in_level, i) + "</td></tr>\n";
    }
    out += "</tbody>\n</table>\n</div>\n</section>\n";
}

void add_recording(std::string& out, std::int64_t id) {
    const std::string file = recording_file_name(id);
    out += "<section aria-labelledby=\"gravacao\">\n<h2 id=\"gravacao\">Gravacao</h2>\n"
           "<p><a href=\"/runs/" +
           std::to_string(id) + ".replay\" download=\"" + file +
           "\">Baixar a gravacao</a></p>\n<p>Para rever no terminal:</p>\n"
           "<pre><code>orbitrix --replay " +
           file + "</code></pre>\n</section>\n";
}

void add_player(std::string& out, std::int64_t id) {
    out += "<section aria-labelledby=\"reprise\">\n<h2 id=\"reprise\">Reprise</h2>\n"
           "<div id=\"player\" class=\"player\" data-cast=\"/runs/" +
           std::to_string(id) +
           ".cast\"></div>\n<noscript><p>A reprise na pagina precisa de JavaScript; a "
           "gravacao acima se ve no terminal.</p></noscript>\n</section>\n";
}

} // namespace

std::string recording_file_name(std::int64_t run_id) {
    return "orbitrix-" + std::to_string(run_id) + ".replay";
}

std::optional<std::string> run_page(Store& store, std::int64_t run_id) {
    const std::optional<StoredRun> run = store.run(run_id);
    if (!run)
        return std::nullopt;
    const std::string title = "Sessao " + std::to_string(run->id);
    std::string body =
        "<header>\n<h1>" + title +
        "</h1>\n<nav aria-label=\"Placar\"><a href=\"/\">Voltar ao placar</a></nav>\n"
        "</header>\n<main>\n";
    add_games(body, store, *run);
    add_recording(body, run->id);
    add_player(body, run->id);
    body += "</main>\n";
    std::string head = "<link rel=\"stylesheet\" href=\"";
    head += PLAYER_STYLESHEET;
    head += "\">\n<script defer src=\"";
    head += PLAYER_SCRIPT;
    head += "\"></script>\n<script defer src=\"";
    head += RUN_SCRIPT;
    head += "\"></script>\n";
    return document("Orbitrix: " + title, head, body);
}

} // namespace board::pages
