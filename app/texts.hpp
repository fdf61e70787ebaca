#pragma once
// What the program prints instead of playing.

#include "app/options.hpp"

#include <string>
#include <string_view>

namespace app {

// The help: what the program is, `option_lines` under "Options:", then the
// keys and the exit statuses.
std::string help_around(std::string_view option_lines);
std::string version_text();
// The message, then where to read how the program is called.
Stop usage_error(std::string_view message);

} // namespace app
