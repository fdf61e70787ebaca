#include "replay/asciicast.hpp"

#include "console/ansi/ansi_colours.hpp"
#include "console/ansi/console_rgb.hpp"
#include "console/glyphs.hpp"
#include "game/exigencias.hpp"
#include "replay/cast_json.hpp"
#include "replay/cast_terminal.hpp"
#include "replay/check.hpp"
#include "replay/line_format.hpp"
#include "replay/verify.hpp"

#include <array>
#include <cstdio>
#include <optional>

namespace replay {
namespace {

// The console's default pen: light grey on black.
constexpr int DEFAULT_FOREGROUND = 7;
constexpr int DEFAULT_BACKGROUND = 0;

// A marker where each game's play begins and at each level it rises to.
struct Markers : game::Observador {
    explicit Markers(CastTerminal& terminal) : terminal(terminal) {}
    CastTerminal& terminal;
    int game = 0;
    std::string name;

    void jogo_comeca(const std::string& nome, int nivel) override {
        ++game;
        name = console::text_utf8(nome);
        mark(nivel);
    }
    void nivel_sobe(int nivel) override { mark(nivel); }
    void mark(int nivel) {
        terminal.mark("Partida " + std::to_string(game) + ": " + name + ", nivel " +
                      level_text(nivel));
    }
};

std::string colour(std::uint32_t rgb) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%06x", static_cast<unsigned>(rgb));
    return text.data();
}

// The classic console's colours in the order a terminal numbers them, so a
// player shows each as the game meant it, whatever its own theme.
std::string palette() {
    std::array<std::uint32_t, 16> by_ansi_index{};
    for (int c = 0; c < 16; ++c)
        by_ansi_index[static_cast<std::size_t>(console::ansi::ansi_index(c))] =
            console::ansi::console_rgb[static_cast<std::size_t>(c)];
    std::string out;
    for (const std::uint32_t rgb : by_ansi_index) {
        if (!out.empty())
            out += ':';
        out += colour(rgb);
    }
    return out;
}

std::string title(const std::vector<ReplayedGame>& games) {
    if (games.empty())
        return "Orbitrix";
    std::string out;
    for (const ReplayedGame& g : games) {
        const game::Resultado& r = g.result;
        if (!out.empty())
            out += "; ";
        out += console::text_utf8(r.nome) + ": " + std::to_string(r.pontos) + " pontos";
    }
    return out;
}

std::optional<std::int64_t> first_clock_read(const Recording& recording) {
    for (const Event& event : recording.events)
        if (const auto* time = std::get_if<TimeRead>(&event))
            return time->seconds;
    return std::nullopt;
}

std::string header(const Recording& recording, const Verdict& verdict, std::int64_t duration_ms) {
    std::string out = "{\"version\":2,\"width\":" + std::to_string(CAST_COLUMNS) +
                      ",\"height\":" + std::to_string(CAST_ROWS);
    if (const auto start = first_clock_read(recording))
        out += ",\"timestamp\":" + std::to_string(*start);
    out += ",\"duration\":" + json_seconds(duration_ms);
    out += ",\"title\":" + json_string(title(verdict.games));
    out += ",\"env\":{\"TERM\":\"xterm-256color\"}";
    const auto& rgb = console::ansi::console_rgb;
    out += ",\"theme\":{\"fg\":\"" + colour(rgb[DEFAULT_FOREGROUND]) + "\",\"bg\":\"" +
           colour(rgb[DEFAULT_BACKGROUND]) + "\",\"palette\":\"" + palette() + "\"}}\n";
    return out;
}

} // namespace

std::variant<std::string, CastRefusal> asciicast(const Recording& recording,
                                                 const std::string& name) {
    CastTerminal terminal(console::Size{CAST_COLUMNS, CAST_ROWS},
                          game::exigencias_do_console().least);
    Markers markers(terminal);
    const Verdict verdict =
        check_recording(recording, ReplayOptions{Stage{terminal.screen(), terminal}, &markers, {}});
    if (const int status = verdict_status(verdict); status != 0)
        return CastRefusal{status, verdict_refusal(verdict, name)};
    // The session's last frame, written as it ends.
    terminal.present();

    std::string cast = header(recording, verdict, terminal.now_ms());
    for (const CastEvent& event : terminal.events()) {
        cast += '[';
        cast += json_seconds(event.at_ms);
        cast += ",\"";
        cast += event.code;
        cast += "\",";
        cast += json_string(event.data);
        cast += "]\n";
    }
    return cast;
}

} // namespace replay
