// The frame's own bookkeeping (level parameters, starting lives, the delay)
// and the status values it prints in the panel.
#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/fases.hpp"
#include "screens/janela.hpp"
#include "screens/painel.hpp"
#include "screens/paleta.hpp"

#include <optional>
#include <string_view>

namespace game {
namespace {

using screens::BRANCO;
using screens::VERDE;

void vai_para(const screens::CampoDoPainel& campo) {
    console::gotoxy(campo.valor.coluna, campo.valor.linha);
}

// Only the keys '1' to '4' name a row of the level table.
std::optional<Nivel> nivel_da_tabela(int nivel) {
    if (nivel < '1' || nivel > '4')
        return std::nullopt;
    return NIVEIS[static_cast<std::size_t>(nivel - '1')];
}

} // namespace

void fase_parametros(Partida& p) {
    if (const auto n = nivel_da_tabela(p.nivel))
        p.parametros = n->parametros;
}

void fase_vidas_iniciais(Partida& p) {
    if (p.etapa != 0)
        return;
    p.etapa = 1;
    if (const auto n = nivel_da_tabela(p.nivel))
        p.vidas = n->vidas;
}

void fase_status(const Partida& p) {
    screens::printnivel(p.nivel);
    console::textcolor(BRANCO);
    screens::tiroespecials(p.especial);
    console::textcolor(VERDE);
    vai_para(screens::PONTOS);
    console::printf("%i", p.pontos);
    console::textcolor(BRANCO);
}

void fase_mostra_vidas(const Partida& p) {
    console::textcolor(VERDE);
    vai_para(screens::VIDAS);
    // The blank wipes the old last digit when the count loses one (10 to 9).
    console::printf("%i ", p.vidas);
    console::textcolor(BRANCO);
}

void fase_mostra_nome(const Partida& p) {
    console::textcolor(VERDE);
    vai_para(screens::NOME);
    // A longer name would run over the frame and, reprinted every frame,
    // into the playing area's row 4.
    console::puts(nome_cortado(p, screens::largura(screens::NOME)));
    console::textcolor(BRANCO);
}

void fase_atraso(const Partida& p) {
    console::_sleep(p.parametros.atraso);
}

} // namespace game
