#pragma once
// A board's address as the player gives it (--server or ORBITRIX_SERVER),
// and the addresses of its pages and API under it.

#include <optional>
#include <string>
#include <string_view>

namespace submit {

// The address without its trailing slashes, or nothing when it is not an
// http:// or https:// address with a host.
std::optional<std::string> board_address(std::string_view given);

// "http://host:8080" and "/runs/12" give "http://host:8080/runs/12".
std::string under(const std::string& board, std::string_view path);

} // namespace submit
