#pragma once
// Where the play screen's parts lie: the playing area left of the divider,
// and the status panel right of it with its fields. janela draws the labels;
// the values are written each frame by whoever owns them.

#include "screens/posicao.hpp"

#include <string_view>

namespace screens {

// The frame fills columns 1 to 80 and rows 1 to 49.
inline constexpr int COLUNA_DA_DIVISORIA = 60;
inline constexpr int ULTIMA_LINHA_DA_MOLDURA = 49;
// What lies inside the frame left of the divider.
inline constexpr int PRIMEIRA_COLUNA_DA_AREA = 2;
inline constexpr int ULTIMA_COLUNA_DA_AREA = COLUNA_DA_DIVISORIA - 1;
inline constexpr int PRIMEIRA_LINHA_DA_AREA = 2;
inline constexpr int ULTIMA_LINHA_DA_AREA = ULTIMA_LINHA_DA_MOLDURA - 1;
// The panel runs from the divider to the frame's right edge.
inline constexpr int PRIMEIRA_COLUNA_DO_PAINEL = COLUNA_DA_DIVISORIA + 1;
inline constexpr int ULTIMA_COLUNA_DO_PAINEL = ULTIMA_COLUNA_DA_TELA - 1;
// The rules that cut the panel into status, legend and commands.
inline constexpr int LINHA_DA_LEGENDA = 20;
inline constexpr int LINHA_DOS_COMANDOS = 35;

// A label at the panel's left, and the value that follows it on its row.
struct CampoDoPainel {
    std::string_view rotulo;
    Posicao valor;
};

inline constexpr CampoDoPainel NOME{" Nome : ", {69, 3}};
inline constexpr CampoDoPainel VIDAS{" Vidas %c :", {72, 5}}; // %c: the VIDA glyph
inline constexpr CampoDoPainel NIVEL{" Nivel :", {70, 7}};
inline constexpr CampoDoPainel TIRO_ESPECIAL{" Tiro Especial :", {78, 9}};
inline constexpr CampoDoPainel PONTOS{" Pontos : ", {71, 11}};
inline constexpr CampoDoPainel STATUS{" Status :", {71, 16}};

// How wide each value may grow before it reaches the frame's edge.
inline constexpr int largura(const CampoDoPainel& campo) {
    return ULTIMA_COLUNA_DO_PAINEL - campo.valor.coluna + 1;
}

// The special shot's charge mark, green once the shot is charged.
inline constexpr int INDICADOR = 1;

// The status word in play, and the pause's word, long enough to cover it.
inline constexpr std::string_view JOGANDO = "JOGANDO";
inline constexpr std::string_view PAUSADO = "PAUSE   ";
static_assert(PAUSADO.size() >= JOGANDO.size());

} // namespace screens
