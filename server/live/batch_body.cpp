#include "server/live/batch_body.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

namespace live {
namespace {

using nlohmann::json;

constexpr std::size_t LONGEST_SECRET = 64;
constexpr std::size_t LONGEST_NAME_BYTES = 256;
// A frame is at least 10 ms: a game of a year has fewer.
constexpr std::int64_t MOST_FRAMES = std::int64_t{1} << 32;
constexpr std::int64_t MOST_HOLD_MS = std::int64_t{24} * 3600 * 1000;

bool only(const json& object, std::initializer_list<std::string_view> names) {
    for (const auto& [key, value] : object.items())
        if (std::find(names.begin(), names.end(), key) == names.end())
            return false;
    return true;
}

bool hex_secret(const json& value) {
    if (!value.is_string())
        return false;
    const auto& text = value.get_ref<const std::string&>();
    return !text.empty() && text.size() <= LONGEST_SECRET &&
           text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool whole_in(const json& value, std::int64_t low, std::int64_t high) {
    if (value.is_number_unsigned()) {
        const auto n = value.get<std::uint64_t>();
        return n <= static_cast<std::uint64_t>(high) && static_cast<std::int64_t>(n) >= low;
    }
    if (!value.is_number_integer())
        return false;
    const auto n = value.get<std::int64_t>();
    return n >= low && n <= high;
}

json object_of(std::string_view body) {
    json parsed = json::parse(body.begin(), body.end(), nullptr, false);
    return parsed.is_object() ? parsed : json();
}

} // namespace

std::variant<BatchBody, Refused> read_batch(std::string_view body) {
    const json o = object_of(body);
    if (!o.is_object())
        return Refused{"the batch is not a JSON object"};
    if (!only(o, {"secret", "seq", "lines", "frame", "holds", "last"}))
        return Refused{"the batch has a field it should not"};
    if (!o.contains("secret") || !hex_secret(o["secret"]))
        return Refused{"the batch has no game secret"};
    if (!o.contains("seq") || !whole_in(o["seq"], 1, std::numeric_limits<std::int32_t>::max()))
        return Refused{"the batch's seq is not a number from 1"};
    if (!o.contains("frame") || !whole_in(o["frame"], 0, MOST_FRAMES))
        return Refused{"the batch's frame is not a frame count"};
    if (!o.contains("lines") || !o["lines"].is_string() ||
        o["lines"].get_ref<const std::string&>().size() > MOST_BATCH_LINE_BYTES)
        return Refused{"the batch's lines are missing or too long"};
    if (o.contains("last") && !o["last"].is_boolean())
        return Refused{"the batch's last is not true or false"};
    BatchBody batch{o["secret"].get<std::string>(),
                    o["seq"].get<std::int64_t>(),
                    o["lines"].get<std::string>(),
                    o["frame"].get<std::int64_t>(),
                    {},
                    o.value("last", false)};
    if (o.contains("holds")) {
        const json& holds = o["holds"];
        if (!holds.is_array() || holds.size() > MOST_BATCH_HOLDS)
            return Refused{"the batch's holds are not a short list"};
        for (const json& hold : holds) {
            if (!hold.is_array() || (hold.size() != 2 && hold.size() != 3) ||
                !whole_in(hold[0], 0, MOST_FRAMES) || !whole_in(hold[1], 0, MOST_HOLD_MS) ||
                (hold.size() == 3 && hold[2] != "key"))
                return Refused{"a hold is not [frame, ms] or [frame, ms, \"key\"]"};
            batch.holds.push_back(BatchHold{hold[0].get<std::int64_t>(),
                                            hold[1].get<std::int64_t>(), hold.size() == 3});
        }
    }
    return batch;
}

std::variant<DealBody, Refused> read_deal(std::string_view body) {
    const json o = object_of(body);
    if (!o.is_object() || !only(o, {"secret", "name", "level"}))
        return Refused{"the deal is not a JSON object of secret, name and level"};
    if (!o.contains("secret") || !hex_secret(o["secret"]))
        return Refused{"the deal has no session secret"};
    if (!o.contains("name") || !o["name"].is_string() ||
        o["name"].get_ref<const std::string&>().size() > LONGEST_NAME_BYTES)
        return Refused{"the deal has no name"};
    if (!o.contains("level") || !whole_in(o["level"], 0, 255))
        return Refused{"the deal's level is not a key code"};
    return DealBody{o["secret"].get<std::string>(), o["name"].get<std::string>(),
                    o["level"].get<int>()};
}

} // namespace live
