// Plays one short scripted game on the in-memory console and prints the
// play screen as the terminal shows it, in UTF-8, for the README.
//
//   orbitrix_screenshot [seconds-since-epoch [esc-at-ms]]
//
// The clock's seconds seed the game, so the same arguments give the same
// picture on every machine.

#include "console/glyphs.hpp"
#include "console/memory_console.hpp"
#include "game/sessao.hpp"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

namespace {

// The title sequence and the credit take about five seconds of virtual
// time; the moves start once the play screen is up.
constexpr std::int64_t inicio_do_jogo_ms = 6000;
constexpr std::int64_t entre_teclas_ms = 120;

// Left a little, firing, then right, firing, with one special shot.
constexpr std::string_view jogadas = "aa a a  ddd d d d  dd w w  b  aa   s ";

void roteiro(console::MemoryPlatform& platform, std::int64_t esc_ms) {
    platform.push_key('1');
    platform.push_keys("Ana\r");
    platform.push_key('1');
    std::int64_t t = inicio_do_jogo_ms;
    for (const char tecla : jogadas) {
        platform.push_key(static_cast<unsigned char>(tecla), t);
        t += entre_teclas_ms;
    }
    platform.push_key(27, esc_ms > t ? esc_ms : t);
}

std::string linha(const console::MemoryScreen& tela, int row) {
    std::string out;
    for (int col = 1; col <= 80; ++col)
        out += console::glyph_utf8(tela.at(col, row).ch);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const std::int64_t segundos = argc > 1 ? std::atoll(argv[1]) : 1'700'000'000;
    const std::int64_t esc_ms = argc > 2 ? std::atoll(argv[2]) : 14'000;

    console::MemoryConsole con;
    con.platform.set_time(segundos);
    roteiro(con.platform, esc_ms);
    try {
        game::sessao();
    } catch (const console::ScriptExhausted& e) {
        std::cerr << "orbitrix_screenshot: the game outlived its script (" << e.what() << ")\n";
        return 1;
    }
    for (int row = 1; row <= 49; ++row)
        std::cout << linha(con.screen, row) << '\n';
    return 0;
}
