#include "app/scores/collector.hpp"

#include "console/glyphs.hpp"

namespace scores {
namespace {

Ending ending_of(game::Desfecho desfecho) {
    switch (desfecho) {
    case game::Desfecho::perdeu:
        return Ending::lost;
    case game::Desfecho::venceu:
        return Ending::won;
    case game::Desfecho::saiu:
        break;
    }
    return Ending::left;
}

// The game keeps the name in the console's code page, one byte a letter as
// the screen shows it; the table keeps what the player saw, in UTF-8.
std::string utf8_of(const std::string& name) {
    std::string text;
    for (const char c : name)
        text += console::glyph_utf8(static_cast<std::uint8_t>(c));
    return text;
}

} // namespace

Entry entry_of(const game::Resultado& result, std::int64_t when) {
    return Entry{result.pontos, utf8_of(result.nome),       result.nivel_inicial,
                 result.nivel,  ending_of(result.desfecho), when};
}

} // namespace scores
