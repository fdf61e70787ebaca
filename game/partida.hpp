#pragma once
// Everything one game knows. The play field uses the screen's own
// coordinates: cell (column, row) is drawn at that console position.

#include "screens/celulas.hpp"
#include "screens/niveis.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace game {

using screens::ESPECIAL;
using screens::JOGADOR;
using screens::METEORO;
using screens::NAVE;
using screens::TIRO;
using screens::TIRO_INIMIGO;
using screens::VAZIO;
using screens::VIDA;

inline constexpr int COLUNAS = 80;
inline constexpr int LINHAS = 50;

// 80 x 50 cells, stored column by column.
class Campo {
  public:
    std::uint8_t at(int coluna, int linha) const { return cells_[index(coluna, linha)]; }
    void set(int coluna, int linha, std::uint8_t code) { cells_[index(coluna, linha)] = code; }
    void clear() { cells_.fill(VAZIO); }

  private:
    static std::size_t index(int coluna, int linha) {
        return static_cast<std::size_t>(coluna) * LINHAS + static_cast<std::size_t>(linha);
    }
    std::array<std::uint8_t, COLUNAS * LINHAS> cells_{};
};

struct NivelParametros {
    std::int32_t limiarnave = 0;
    std::int32_t limiarmeteoro = 0;
    std::int32_t limiarqueda = 0;
    std::int32_t limiartiroinimigo = 0;
    std::int32_t atraso = 0;
};

struct Nivel {
    NivelParametros parametros;
    std::int32_t vidas;
};

// Levels '1' to '4'.
inline constexpr std::array<Nivel, 4> NIVEIS{{
    {{90, 40, 80, 70, 40}, 4},
    {{90, 35, 75, 60, 50}, 3},
    {{80, 25, 60, 50, 70}, 2},
    {{70, 20, 50, 40, 80}, 1},
}};

struct Partida {
    std::int32_t especial = 0;
    std::int32_t tecla = 0;
    std::int32_t jogadorx = 40;
    std::int32_t jogadory = 35;
    std::int32_t vidas = 1;
    std::int32_t pontos = 0;
    // With its closing zero. The line reader takes no more than it holds, so
    // the name never runs past the rows it is echoed on.
    std::array<char, screens::NOME_MAXIMO + 1> nome{};
    std::int32_t nivel = 0;
    NivelParametros parametros;
    std::int32_t opcao = 0;
    std::int32_t etapa = 0;
    std::int32_t tiros = 0;
    std::int32_t bipe = 0;
    Campo campo;
};

// The name as far as `largura` cells hold it, for the places that show it in
// less room than the prompts give it.
inline std::string_view nome_cortado(const Partida& p, int largura) {
    return {p.nome.data(),
            std::min(std::strlen(p.nome.data()), static_cast<std::size_t>(std::max(0, largura)))};
}

} // namespace game
