#pragma once
// httplib compresses an answer with brotli whenever the request's
// Accept-Encoding mentions "br", and at brotli's slowest setting: most of a
// second of CPU for a page of the board or the player's script, where gzip,
// which every browser also takes, costs a few milliseconds. The server
// takes "br" out of each request before httplib reads it.

#include <string>
#include <string_view>

namespace board {

// The header's value without any coding that names "br" (httplib looks for
// the two letters anywhere in it); the rest, weights and all, as it was.
std::string without_brotli(std::string_view accept_encoding);

} // namespace board
