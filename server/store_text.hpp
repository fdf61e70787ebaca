#pragma once
// How a game's kind is spelt, in the database and in the API alike.

#include "server/store.hpp"

#include <string_view>

namespace board {

inline std::string_view kind_text(Kind kind) {
    return kind == Kind::ranked ? "ranked" : "open";
}

inline Kind kind_of(std::string_view text) {
    return text == "ranked" ? Kind::ranked : Kind::open;
}

} // namespace board
