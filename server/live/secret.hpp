#pragma once
// A secret a client proves itself with: 128 bits from the system's source,
// as 32 lower-case hex digits.

#include <string>

namespace live {

std::string new_secret();

} // namespace live
