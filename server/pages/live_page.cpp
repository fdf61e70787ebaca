#include "server/pages/live_page.hpp"

#include "server/pages/html.hpp"
#include "server/pages/static_paths.hpp"

namespace board::pages {

std::string live_page(std::int64_t session) {
    const std::string id = std::to_string(session);
    const std::string title = "Ao vivo: sessao " + id;
    std::string body =
        "<header>\n<h1>" + title +
        "</h1>\n<nav aria-label=\"Placar\"><a href=\"/\">Voltar ao placar</a></nav>\n"
        "</header>\n<main>\n<section aria-labelledby=\"ao-vivo\">\n<h2 id=\"ao-vivo\">Jogo em "
        "andamento</h2>\n<p>O jogo aparece aqui enquanto e jogado, desenhado pelo proprio placar "
        "com as teclas que recebe. Quando a sessao termina, esta pagina passa a ser a da "
        "sessao no placar.</p>\n<div id=\"player\" class=\"player\" data-stream=\"/api/live/" +
        id +
        "/stream\"></div>\n<noscript><p>Ver o jogo ao vivo precisa de JavaScript.</p></noscript>"
        "\n</section>\n</main>\n";
    return document("Orbitrix: " + title, player_head(LIVE_SCRIPT), body);
}

} // namespace board::pages
