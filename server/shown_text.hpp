#pragma once
// Whether text a stranger sent can go on the board's pages and into its
// store as it is: UTF-8, every character one a reader sees, and bounded.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace board {

// Why `text` cannot be shown, completing "the name ..." or "the program line
// ...": longer than `max_bytes`, not UTF-8, or holding a control character
// (C0, DEL, C1), a bidi control (U+200E, U+200F, U+202A to U+202E, U+2066 to
// U+2069, U+061C) or a zero-width character (U+200B to U+200D, U+2060,
// U+FEFF). Nothing when it can.
std::optional<std::string> unshowable(std::string_view text, std::size_t max_bytes);

} // namespace board
