#pragma once
// Every option the program takes, one row each. The parser and the help
// both read this table, so an option added here is parsed and documented.

#include "app/options.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace app {

struct OptionRow {
    char short_name; // 0 when there is none
    std::string_view long_name;
    std::string_view value_name; // empty when the option takes no value
    std::string_view help;
    // A Stop ends the parse: the help, the version, a bad value.
    std::optional<Stop> (*apply)(Options& options, std::string_view value);
};

std::span<const OptionRow> option_table();
// The program's help, listing every option of the table.
std::string help_text();

} // namespace app
