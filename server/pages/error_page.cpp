#include "server/pages/error_page.hpp"

#include "server/pages/html.hpp"

namespace board::pages {
namespace {

struct Wording {
    const char* title;
    const char* text;
};

Wording wording(Missing what) {
    switch (what) {
    case Missing::run:
        return {"Sessao nao encontrada", "Nao ha sessao com este numero neste placar."};
    case Missing::filters:
        return {"Filtros invalidos",
                "O nivel vai de 1 a 4 (ou todos), a posicao e um numero de linha e o tipo e "
                "ranqueados, abertos ou todos; cada um aparece uma vez."};
    case Missing::page:
        break;
    }
    return {"Pagina nao encontrada", "Nao ha nada neste endereco."};
}

} // namespace

int error_status(Missing what) {
    return what == Missing::filters ? 400 : 404;
}

std::string error_page(Missing what) {
    const Wording words = wording(what);
    const std::string body = std::string("<header>\n<h1>") + words.title +
                             "</h1>\n<nav aria-label=\"Placar\"><a href=\"/\">Voltar ao "
                             "placar</a></nav>\n</header>\n<main>\n<p>" +
                             words.text + "</p>\n</main>\n";
    return document(std::string("Orbitrix: ") + words.title, "", body);
}

} // namespace board::pages
