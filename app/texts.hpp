#pragma once
// What the program prints instead of playing.

#include "app/options.hpp"

#include <string>
#include <string_view>

namespace app {

std::string help_text();
std::string version_text();
// The message, then where to read how the program is called.
Stop usage_error(std::string_view message);

} // namespace app
