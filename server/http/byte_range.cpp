#include "server/http/byte_range.hpp"

#include "server/http/field_text.hpp"

#include <algorithm>
#include <charconv>
#include <optional>

namespace board::http {
namespace {

// 1*DIGIT and nothing else; none when it does not fit.
std::optional<std::uint64_t> position(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// The one range of a range-set (RFC 9110 section 14.1.2), which the
// list syntax lets sit among empty elements; none when there are more.
std::optional<std::string_view> only_range(std::string_view set) {
    std::optional<std::string_view> found;
    while (!set.empty()) {
        const std::string_view element = next_element(set);
        if (element.empty())
            continue;
        if (found)
            return std::nullopt;
        found = element;
    }
    return found;
}

} // namespace

RangeAnswer range_answer(std::string_view range, std::uint64_t size,
                         std::uint64_t smallest_ranged) {
    if (size <= smallest_ranged)
        return WholeBody{};
    range = trimmed(range);
    const auto equals = range.find('=');
    if (equals == std::string_view::npos || !same_word(range.substr(0, equals), "bytes"))
        return WholeBody{};
    const auto only = only_range(range.substr(equals + 1));
    if (!only)
        return WholeBody{};
    const auto dash = only->find('-');
    if (dash == std::string_view::npos)
        return WholeBody{};
    const std::string_view first_text = only->substr(0, dash);
    const std::string_view last_text = only->substr(dash + 1);

    if (first_text.empty()) {
        // "-N": the last N bytes, all of them when N is more than the size.
        const auto suffix = position(last_text);
        if (!suffix)
            return WholeBody{};
        if (*suffix == 0)
            return RangeNotSatisfiable{};
        return PartOfBody{*suffix >= size ? 0 : size - *suffix, size - 1};
    }
    const auto first = position(first_text);
    if (!first)
        return WholeBody{};
    std::uint64_t last = size - 1;
    if (!last_text.empty()) {
        const auto named = position(last_text);
        // A last before the first makes the range invalid, not unsatisfiable.
        if (!named || *named < *first)
            return WholeBody{};
        last = std::min(*named, size - 1);
    }
    if (*first >= size)
        return RangeNotSatisfiable{};
    return PartOfBody{*first, last};
}

std::string content_range(const PartOfBody& part, std::uint64_t size) {
    return "bytes " + std::to_string(part.first) + "-" + std::to_string(part.last) + "/" +
           std::to_string(size);
}

std::string unsatisfied_range(std::uint64_t size) {
    return "bytes */" + std::to_string(size);
}

} // namespace board::http
