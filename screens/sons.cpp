#include "screens/sons.hpp"

#include "console/services.hpp"

#include <array>
#include <cstddef>

namespace screens {

namespace {

struct Nota {
    int hz;
    int rapida; // the pick-up and life-lost sounds
    int titulo;
    int conclusao;
};

constexpr std::array<Nota, 18> melodia{{
    {660, 10, 50, 150},
    {660, 20, 100, 500},
    {734, 10, 50, 150},
    {660, 10, 50, 150},
    {704, 20, 100, 500},
    {660, 10, 50, 150},
    {704, 10, 50, 150},
    {844, 20, 100, 500},
    {734, 40, 200, 1000},
    {550, 10, 50, 150},
    {594, 10, 50, 250},
    {550, 10, 50, 250},
    {594, 10, 50, 150},
    {660, 20, 100, 500},
    {495, 20, 100, 500},
    {594, 10, 50, 150},
    {550, 10, 50, 150},
    {440, 40, 200, 1000},
}};

// The life-lost sound starts at the tenth note.
constexpr std::size_t segunda_metade = 9;

template <class Duracao> void toca(std::size_t primeira, Duracao duracao) {
    for (std::size_t i = primeira; i < melodia.size(); ++i)
        console::Beep(melodia[i].hz, duracao(melodia[i]));
}

} // namespace

void beeps() {
    toca(segunda_metade, [](const Nota& n) { return n.rapida; });
}

void beeps2() {
    toca(0, [](const Nota& n) { return n.rapida; });
}

void tune_titulo() {
    toca(0, [](const Nota& n) { return n.titulo; });
}

void tune_zerado() {
    toca(0, [](const Nota& n) { return n.conclusao; });
}

} // namespace screens
