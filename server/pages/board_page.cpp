#include "server/pages/board_page.hpp"

#include "server/board_cursor.hpp"
#include "server/pages/game_cells.hpp"
#include "server/pages/html.hpp"
#include "server/pages/static_paths.hpp"

#include <algorithm>
#include <utility>
#include <vector>

namespace board::pages {
namespace {

// Past this many digits an offset is no row any board holds.
constexpr std::size_t MOST_OFFSET_DIGITS = 15;

std::string level_key(std::optional<int> level) {
    return level ? std::to_string(*level) : "all";
}

std::string anchor(std::optional<int> level) {
    return level ? "nivel-" + std::to_string(*level) : "todos";
}

std::string table_title(std::optional<int> level) {
    return level ? "Nivel " + std::to_string(*level) : "Todos os niveis";
}

std::string kind_key(Kind kind) {
    return kind == Kind::ranked ? "ranked" : "open";
}

std::string page_link(std::optional<int> level, std::int64_t offset, std::optional<Kind> kind) {
    return "/?level=" + level_key(level) + "&amp;offset=" + std::to_string(offset) +
           (kind ? "&amp;kind=" + kind_key(*kind) : "");
}

// Ranked first: those are the games played on the board's own seeds.
void add_tabs(std::string& out, std::optional<Kind> chosen) {
    out += "<nav class=\"abas\" aria-label=\"Tipo de jogo\"><ul>\n";
    for (const auto& [kind, label] :
         {std::pair{Kind::ranked, "Ranqueados"}, std::pair{Kind::open, "Abertos"}})
        out += "<li><a href=\"/?kind=" + kind_key(kind) + "\"" +
               (chosen == kind ? " aria-current=\"page\"" : "") + ">" + label + "</a></li>\n";
    out += "</ul></nav>\n";
}

void add_row(std::string& out, const Placed& p) {
    const std::string run = std::to_string(p.run_id);
    out += "<tr><td class=\"num\">" + std::to_string(p.place) + "</td><td class=\"num\">" +
           std::to_string(p.game.points) + "</td><td class=\"nome\">" + name_html(p.game.name) +
           "</td><td>" + levels_html(p.game) + "</td><td>" + ending_html(p.game.ending) +
           "</td><td>" + date_html(p.received_ms) + "</td><td><a href=\"/runs/" + run + "\">" +
           run + "</a></td></tr>\n";
}

// The rows after `last`: the link onward reads by keyset.
std::string next_link(std::optional<int> level, const Placed& last, std::optional<Kind> kind) {
    return "/?level=" + level_key(level) + "&amp;after=" + cursor_text(cursor_of(last)) +
           (kind ? "&amp;kind=" + kind_key(*kind) : "");
}

// `offset`: the rows before the page; -1 when a cursor past the board's end
// left it unknown.
void add_paging(std::string& out, std::optional<int> level, std::int64_t offset,
                const std::vector<Placed>& games, std::int64_t total, bool one_table,
                std::optional<Kind> kind) {
    const auto shown = static_cast<std::int64_t>(games.size());
    std::string links;
    if (one_table && offset > 0)
        links += "<a rel=\"prev\" href=\"" +
                 page_link(level, std::max<std::int64_t>(0, offset - PAGE_SIZE), kind) +
                 "\">Anteriores</a>\n";
    if (offset >= 0 && !games.empty() && offset + shown < total)
        links +=
            "<a rel=\"next\" href=\"" + next_link(level, games.back(), kind) + "\">Proximos</a>\n";
    if (links.empty())
        return;
    out += "<nav class=\"paginas\" aria-label=\"Paginas: " + table_title(level) + "\">\n" + links +
           "</nav>\n";
}

void add_table(std::string& out, Store& store, std::optional<int> level, std::int64_t from,
               const std::optional<BoardCursor>& after, bool one_table, std::optional<Kind> kind) {
    BoardQuery query;
    query.level = level;
    query.kind = kind;
    query.limit = PAGE_SIZE;
    query.offset = from;
    const std::vector<Placed> games = after ? store.board_after(query, *after) : store.board(query);
    const std::int64_t total = store.count(query);
    const auto shown = static_cast<std::int64_t>(games.size());
    const std::int64_t offset = !after ? from : games.empty() ? -1 : games.front().place - 1;

    const std::string id = anchor(level);
    out += "<section id=\"" + id + "\" aria-labelledby=\"" + id + "-titulo\">\n<h2 id=\"" + id +
           "-titulo\">" + table_title(level) + "</h2>\n";
    if (games.empty()) {
        out += total == 0 ? "<p>Nenhum jogo registrado ainda.</p>\n"
                          : "<p>Nenhum jogo nesta pagina.</p>\n";
    } else {
        out += "<p class=\"contagem\">" + std::to_string(offset + 1) + " a " +
               std::to_string(offset + shown) + " de " + std::to_string(total) + " jogos</p>\n";
        out += "<div class=\"rolagem\">\n<table aria-labelledby=\"" + id +
               "-titulo\">\n<thead><tr><th scope=\"col\">Pos</th><th scope=\"col\">Pontos</th>"
               "<th scope=\"col\">Nome</th><th scope=\"col\">Nivel</th><th scope=\"col\">Fim</th>"
               "<th scope=\"col\">Data</th><th scope=\"col\">Sessao</th></tr></thead>\n<tbody>\n";
        for (const Placed& p : games)
            add_row(out, p);
        out += "</tbody>\n</table>\n</div>\n";
    }
    add_paging(out, level, offset, games, total, one_table, kind);
    out += "</section>\n";
}

std::optional<std::int64_t> parse_offset(std::string_view text) {
    if (text.empty() || text.size() > MOST_OFFSET_DIGITS)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The games in play, read by the page's script from /api/live: they change
// by the second, while the page is kept for as long as the board does not.
void add_live_games(std::string& out) {
    out +=
        "<section id=\"ao-vivo\" aria-labelledby=\"ao-vivo-titulo\">\n<h2 "
        "id=\"ao-vivo-titulo\">Jogos ao vivo</h2>\n<p class=\"nenhum\">Nenhum jogo em "
        "andamento agora.</p>\n<div class=\"rolagem\">\n<table aria-labelledby=\"ao-vivo-titulo\" "
        "hidden>\n<thead><tr><th scope=\"col\">Pontos</th><th scope=\"col\">Nome</th><th "
        "scope=\"col\">Nivel</th><th scope=\"col\">Inicio</th><th "
        "scope=\"col\" class=\"num\">Espectadores</th><th "
        "scope=\"col\">Jogo</th></tr></thead>\n<tbody>"
        "</tbody>\n</table>\n</div>\n<noscript><p>A lista de jogos ao vivo precisa de "
        "JavaScript.</p></noscript>\n</section>\n";
}

} // namespace

std::optional<BoardPageQuery> board_page_query(std::optional<std::string_view> level,
                                               std::optional<std::string_view> offset,
                                               std::optional<std::string_view> kind,
                                               std::optional<std::string_view> after) {
    BoardPageQuery query;
    if (kind == "ranked")
        query.kind = Kind::ranked;
    else if (kind == "open")
        query.kind = Kind::open;
    else if (kind && *kind != "all")
        return std::nullopt;
    if (after) {
        query.after = read_cursor(*after);
        if (!query.after || offset)
            return std::nullopt;
    }
    if (!level && !offset && !after)
        return query;
    query.one_table = true;
    if (level && *level != "all") {
        if (level->size() != 1 || (*level)[0] < '1' || (*level)[0] > '0' + LEVELS)
            return std::nullopt;
        query.level = (*level)[0] - '0';
    }
    if (offset) {
        const auto value = parse_offset(*offset);
        if (!value)
            return std::nullopt;
        query.offset = *value;
    }
    return query;
}

std::string board_page(Store& store, const BoardPageQuery& query) {
    std::string body = "<header>\n<h1>Placar do Orbitrix</h1>\n<p><a href=\"/play\">Jogar no "
                       "navegador</a></p>\n";
    add_tabs(body, query.kind);
    std::vector<std::optional<int>> levels;
    if (query.one_table) {
        levels.push_back(query.level);
        const std::string back = query.kind ? "/?kind=" + kind_key(*query.kind) : "/";
        body += "<nav aria-label=\"Placar\"><a href=\"" + back + "\">Voltar ao placar</a></nav>\n";
    } else {
        levels.push_back(std::nullopt);
        for (int level = 1; level <= LEVELS; ++level)
            levels.push_back(level);
        body += "<nav aria-label=\"Tabelas\"><ul>\n<li><a href=\"#ao-vivo\">Ao vivo</a></li>\n";
        for (const auto& level : levels)
            body += "<li><a href=\"#" + anchor(level) + "\">" + table_title(level) + "</a></li>\n";
        body += "</ul></nav>\n";
    }
    body += "</header>\n<main>\n";
    if (!query.one_table)
        add_live_games(body);
    for (const auto& level : levels)
        add_table(body, store, level, query.one_table ? query.offset : 0,
                  query.one_table ? query.after : std::nullopt, query.one_table, query.kind);
    body += "</main>\n";
    std::string title =
        query.one_table ? "Orbitrix: placar, " + table_title(query.level) : "Orbitrix: placar";
    if (query.kind)
        title += query.kind == Kind::ranked ? " (ranqueados)" : " (abertos)";
    const std::string head =
        query.one_table ? std::string()
                        : "<script defer src=\"" + std::string(BOARD_SCRIPT) + "\"></script>\n";
    return document(title, head, body);
}

} // namespace board::pages
