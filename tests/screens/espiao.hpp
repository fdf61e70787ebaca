#pragma once
// An in-memory console that also remembers every write with its place and
// time, and lets a test look at the screen the moment a tone starts.

#include "console/memory_console.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace screens_test {

struct Escrita {
    int coluna;
    int linha;
    std::string bytes;
    std::uint16_t attr;
    std::int64_t at_ms;
};

class TelaEspia : public console::MemoryScreen {
  public:
    void write(std::string_view bytes) override {
        const console::Coord c = cursor();
        escritas.push_back(Escrita{c.x - window().left + 1, c.y - window().top + 1,
                                   std::string(bytes), attribute(),
                                   relogio ? relogio->now_ms() : 0});
        console::MemoryScreen::write(bytes);
    }
    std::vector<Escrita> escritas;
    const console::MemoryPlatform* relogio = nullptr;
};

class PlataformaEspia : public console::MemoryPlatform {
  public:
    void beep(int hz, int ms) override {
        if (ao_tocar)
            ao_tocar(hz, ms);
        MemoryPlatform::beep(hz, ms);
    }
    std::function<void(int hz, int ms)> ao_tocar;
};

struct ConsoleEspia {
    TelaEspia screen;
    PlataformaEspia platform;
    console::Installation installation{screen, platform};
    ConsoleEspia() { screen.relogio = &platform; }
};

// Sum of the durations of a run of tones.
inline int duracao(const std::vector<console::Tone>& tons) {
    int total = 0;
    for (const console::Tone& t : tons)
        total += t.ms;
    return total;
}

// A text at its place, every cell of it in the given colour.
template <class Con>
void expect_text(const Con& con, int col, int row, const std::string& text, int colour) {
    EXPECT_EQ(con.screen.text(col, row, static_cast<int>(text.size())), text)
        << "at " << col << "," << row;
    for (int i = 0; i < static_cast<int>(text.size()); ++i)
        EXPECT_EQ(con.screen.at(col + i, row).attr, colour)
            << "colour at " << col + i << "," << row;
}

} // namespace screens_test
