#include "server/random_token.hpp"

#include "console/digits.hpp"

#include <cstdint>
#include <random>

namespace board {

std::string random_token() {
    std::random_device source;
    std::string id;
    for (int i = 0; i < 8; ++i) {
        const auto bits = static_cast<std::uint16_t>(source());
        for (const int shift : {12, 8, 4, 0})
            id += console::HEX_DIGITS[(bits >> shift) & 15];
    }
    return id;
}

} // namespace board
