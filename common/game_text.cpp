#include "common/game_text.hpp"

namespace common {

std::string levels_text(int start, int reached) {
    if (reached == start)
        return std::to_string(reached);
    return std::to_string(start) + " a " + std::to_string(reached);
}

std::string printable(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool c1 = c == 0xC2 && i + 1 < name.size() &&
                        static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(name[i + 1]) <= 0x9F;
        if (c < 0x20 || c == 0x7f || c1) {
            out += '?';
            i += c1 ? 1 : 0;
        } else {
            out += name[i];
        }
    }
    return out;
}

} // namespace common
