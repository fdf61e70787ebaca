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

} // namespace

Entry entry_of(const game::Resultado& result, std::int64_t when) {
    return Entry{result.pontos, console::text_utf8(result.nome), result.nivel_inicial,
                 result.nivel,  ending_of(result.desfecho),      when};
}

} // namespace scores
