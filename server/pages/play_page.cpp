#include "server/pages/play_page.hpp"

#include "server/pages/html.hpp"
#include "server/pages/static_paths.hpp"

namespace board::pages {

std::string play_page() {
    std::string head = "<link rel=\"stylesheet\" href=\"";
    head += TERMINAL_STYLESHEET;
    head += "\">\n";
    for (const std::string_view script : {TERMINAL_SCRIPT, GAME_SCRIPT, PLAY_SCRIPT}) {
        head += "<script defer src=\"";
        head += script;
        head += "\"></script>\n";
    }
    const std::string body =
        "<header>\n<h1>Orbitrix no navegador</h1>\n<nav aria-label=\"Placar\"><a href=\"/\">Ver o "
        "placar</a></nav>\n</header>\n<main>\n<section aria-labelledby=\"jogo\">\n<h2 "
        "id=\"jogo\">Jogo</h2>\n<p>O mesmo jogo do terminal. Digite no terminal abaixo: o nome, o "
        "nivel, e jogue com as teclas de sempre. O som comeca na primeira tecla, quando o "
        "navegador permite.</p>\n<p class=\"sem-jogo\">O jogo nao carregou: este placar nao tem o "
        "jogo para o navegador, ou a pagina precisa de JavaScript.</p>\n<p id=\"janela-pequena\" "
        "class=\"aviso\" role=\"status\" hidden>Janela pequena demais: o jogo precisa de 80x50 "
        "caracteres. Aumente a janela ou diminua o zoom.</p>\n<div id=\"terminal\" "
        "class=\"terminal\"></div>\n</section>\n<section id=\"depois\" "
        "aria-labelledby=\"depois-titulo\" hidden>\n<h2 id=\"depois-titulo\">Fim da "
        "sessao</h2>\n<pre></pre>\n<p><a download=\"orbitrix.replay\" hidden>Baixar a gravacao da "
        "sessao</a></p>\n<p><a href=\"/play\">Jogar de novo</a></p>\n</section>\n"
        "</main>\n";
    return document("Orbitrix: jogar", head, body);
}

} // namespace board::pages
