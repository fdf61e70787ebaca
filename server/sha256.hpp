#pragma once

#include <string>
#include <string_view>

namespace board {

// The SHA-256 of `bytes`, as 64 lower-case hex digits.
std::string sha256_hex(std::string_view bytes);

} // namespace board
