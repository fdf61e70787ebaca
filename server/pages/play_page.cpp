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
        "navegador permite.</p>\n"
        "<p data-modo=\"ranked\" hidden>Jogo ranqueado: cada partida vai ao vivo para o placar, "
        "que a confere enquanto e jogada e a mostra em Jogos ao vivo. Se a aba ficar escondida, o "
        "jogo espera ate ela voltar, e essa espera conta como uma pausa da partida. Para jogar sem "
        "ranquear: <a href=\"/play?open\">jogo aberto</a>.</p>\n"
        "<p data-modo=\"open\" hidden>Jogo aberto: nada vai para o placar. No fim, a gravacao da "
        "sessao fica para baixar. <a href=\"/play\">Jogar ranqueado</a>.</p>\n"
        "<p data-modo=\"static\" hidden>Sem placar por tras desta pagina: o jogo e aberto. No "
        "fim, a gravacao da sessao fica para baixar.</p>\n<p class=\"sem-jogo\">O jogo nao "
        "carregou: este placar nao tem o jogo para o navegador, ou a pagina precisa de "
        "JavaScript.</p>\n<p id=\"janela-pequena\" class=\"aviso\" role=\"status\" hidden>Janela "
        "pequena demais: o jogo precisa de 80x50 caracteres. Aumente a janela ou diminua o "
        "zoom.</p>\n<div id=\"terminal\" "
        "class=\"terminal\"></div>\n</section>\n<section id=\"depois\" "
        "aria-labelledby=\"depois-titulo\" hidden>\n<h2 id=\"depois-titulo\">Fim da "
        "sessao</h2>\n<pre></pre>\n<p><a download=\"orbitrix.replay\" hidden>Baixar a gravacao da "
        "sessao</a></p>\n<p><a href=\"/play\" data-de-novo>Jogar de novo</a></p>\n</section>\n"
        "</main>\n";
    return document("Orbitrix: jogar", head, body);
}

} // namespace board::pages
