#pragma once
// A request target's query string, read one way for every route: names and
// values percent-decoded ('+' is a space), empty pairs skipped, and a name
// given twice refused, since no route can say which of two values was
// meant.

#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace board::http {

using Parameters = std::map<std::string, std::string>;

// The query string of a raw target ("/path?a=1&b=2"): what follows the first
// '?', before any '#'; empty when there is none.
std::string_view query_of(std::string_view target);

// The parameters, or the reason they are refused, for a 400.
std::variant<Parameters, std::string> read_query(std::string_view query);

} // namespace board::http
