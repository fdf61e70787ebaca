#include "server/pages/run_page.hpp"

#include "server/pages/game_cells.hpp"
#include "server/pages/html.hpp"
#include "server/pages/open_reason.hpp"
#include "server/pages/static_paths.hpp"

#include <vector>

namespace board::pages {
namespace {

// The kind, and for a game played live why it is open or how often its
// player held it.
std::string kind_html(const Game& g) {
    std::string text = g.kind == Kind::ranked ? "ranqueado" : "aberto";
    if (!g.reason.empty())
        text += ": " + escaped(open_reason_text(g.reason));
    if (g.holds > 0)
        text += " (" + std::to_string(g.holds) + (g.holds == 1 ? " pausa)" : " pausas)");
    return text;
}

std::string place_cell(std::int64_t place) {
    return place > 0 ? std::to_string(place) : "-";
}

void add_games(std::string& out, Store& store, const StoredRun& run) {
    // Both places of every game in one question, whatever the board's size.
    const std::vector<GamePlaces> places = store.run_places(run.id);
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
        const GamePlaces placed = i < places.size() ? places[i] : GamePlaces{};
        out += "<tr><td class=\"num\">" + std::to_string(i + 1) + "</td><td class=\"nome\">" +
               name_html(g.name) + "</td><td class=\"num\">" + std::to_string(g.points) +
               "</td><td>" + levels_html(g) + "</td><td>" + ending_html(g.ending) +
               "</td><td class=\"num\">" + std::to_string(g.lives) + "</td><td>" + kind_html(g) +
               "</td><td class=\"num\">" + place_cell(placed.overall) + "</td><td class=\"num\">" +
               place_cell(placed.in_level) + "</td></tr>\n";
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
    return document("Orbitrix: " + title, player_head(RUN_SCRIPT), body);
}

} // namespace board::pages
