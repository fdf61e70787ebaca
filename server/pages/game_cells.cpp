#include "server/pages/game_cells.hpp"

#include "common/game_text.hpp"
#include "common/utc_time.hpp"
#include "server/pages/html.hpp"

namespace board::pages {

std::string name_html(const std::string& name) {
    return escaped(common::printable(name));
}

std::string levels_html(const Game& game) {
    return common::levels_text(game.start_level, game.end_level);
}

std::string date_html(std::int64_t received_ms) {
    // Floor, not truncation: a time before the epoch still names its own second.
    const std::int64_t seconds =
        received_ms >= 0 ? received_ms / 1000 : -((-received_ms + 999) / 1000);
    const std::string iso = common::iso_utc(seconds);
    return "<time datetime=\"" + iso + "\">" + iso + "</time>";
}

std::string ending_html(const std::string& ending) {
    // Only the three endings the store keeps get a class; anything else is
    // shown as text.
    const bool known = ending == "perdeu" || ending == "venceu" || ending == "saiu";
    if (!known)
        return escaped(ending);
    return "<span class=\"fim-" + ending + "\">" + ending + "</span>";
}

} // namespace board::pages
