#include "busy_field.hpp"

#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/inicio.hpp"
#include "screens/celulas.hpp"
#include "screens/ocultarampliar.hpp"
#include "screens/paleta.hpp"

#include <cstring>
#include <random>

namespace bench {
namespace {

struct Area {
    int first_column, last_column, first_row, last_row;
};

// Each kind where the game itself would show it: ships where they wander,
// meteors and enemy shots low enough to be falling, the player's shots
// above the ship.
constexpr Area ships_area{2, 57, 2, 44};
constexpr Area meteors_area{3, 58, 5, 46};
constexpr Area shots_area{2, 58, 3, 33};
constexpr Area enemy_shots_area{3, 59, 5, 44};

void place(game::Partida& p, std::minstd_rand& draw, int count, Area area, std::uint8_t code,
           int colour) {
    std::uniform_int_distribution<int> column(area.first_column, area.last_column);
    std::uniform_int_distribution<int> row(area.first_row, area.last_row);
    for (int placed = 0; placed < count;) {
        const int c = column(draw);
        const int r = row(draw);
        if (p.campo.at(c, r) != game::VAZIO)
            continue;
        p.campo.set(c, r, code);
        console::gotoxy(c, r);
        console::textcolor(colour);
        console::printf("%c", int{screens::glifo(code)});
        console::textcolor(screens::BRANCO);
        ++placed;
    }
}

} // namespace

game::Partida busy_game(unsigned seed, Load load) {
    game::Partida p;
    std::strcpy(p.nome.data(), "Bench");
    p.nivel = '1';
    screens::ocultarampliar();
    game::monta_jogo(p);
    std::minstd_rand draw(seed);
    place(p, draw, load.ships, ships_area, game::NAVE, screens::VERDE);
    place(p, draw, load.meteors, meteors_area, game::METEORO, screens::VERMELHO);
    place(p, draw, load.shots, shots_area, game::TIRO, screens::BRANCO);
    place(p, draw, load.enemy_shots, enemy_shots_area, game::TIRO_INIMIGO, screens::AMARELO);
    return p;
}

} // namespace bench
