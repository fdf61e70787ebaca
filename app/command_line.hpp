#pragma once
// The command line read before anything else happens: the arguments in
// (without the program's name), the session's options or a Stop out.
// Nothing is printed and no terminal is touched, so any caller may use it.

#include "app/options.hpp"

#include <span>
#include <string_view>
#include <variant>

namespace app {

using Parsed = std::variant<Options, Stop>;

// Options are taken in order; the first help, version or error ends the
// parse. "--name=value" and "--name value" both give a value; short options
// may be bundled ("-hV"); "--" ends the options.
Parsed parse_command_line(std::span<const std::string_view> args);

} // namespace app
