#include "app/live/live_protocol.hpp"

#include "app/submit/server_address.hpp"

#include <nlohmann/json.hpp>

namespace live {
namespace {

using nlohmann::json;

constexpr std::size_t LONGEST_TOKEN = 64;

json parsed(std::string_view body) {
    return json::parse(body.begin(), body.end(), nullptr, false);
}

// Ids and secrets travel in paths and bodies: hex digits only.
std::optional<std::string> token(const json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_string())
        return std::nullopt;
    std::string text = found->get<std::string>();
    if (text.empty() || text.size() > LONGEST_TOKEN ||
        text.find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::nullopt;
    return text;
}

std::optional<std::int64_t> whole(const json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_number_integer())
        return std::nullopt;
    return found->get<std::int64_t>();
}

http::Request post(const std::string& board, const std::string& path, const json& body) {
    return http::Request{"POST", submit::under(board, path), body.dump(), "application/json"};
}

} // namespace

http::Request open_request(const std::string& board) {
    return post(board, "/api/live", json::object());
}

http::Request deal_request(const std::string& board, const Opened& session, const std::string& name,
                           int level) {
    return post(board, "/api/live/" + session.run + "/games",
                json{{"secret", session.secret}, {"name", name}, {"level", level}});
}

http::Request batch_request(const std::string& board, const Opened& session,
                            const std::string& game_secret, const Batch& batch) {
    json holds = json::array();
    for (const Hold& h : batch.holds)
        holds.push_back(h.key ? json::array({h.frame, h.ms, "key"}) : json::array({h.frame, h.ms}));
    // Recording lines are UTF-8 names and ASCII; anything else is replaced
    // rather than refused, and the board's replay then tells the difference.
    const json body{{"secret", game_secret}, {"seq", batch.seq}, {"lines", batch.lines},
                    {"frame", batch.frame},  {"holds", holds},   {"last", batch.last}};
    return http::Request{"POST", submit::under(board, "/api/live/" + session.run + "/batches"),
                         body.dump(-1, ' ', false, json::error_handler_t::replace),
                         "application/json"};
}

std::optional<Opened> read_opened(std::string_view body) {
    const json answer = parsed(body);
    if (!answer.is_object())
        return std::nullopt;
    auto run = token(answer, "run");
    auto secret = token(answer, "secret");
    if (!run || !secret)
        return std::nullopt;
    return Opened{std::move(*run), std::move(*secret)};
}

std::optional<Dealt> read_dealt(std::string_view body) {
    const json answer = parsed(body);
    if (!answer.is_object())
        return std::nullopt;
    const auto game = whole(answer, "game");
    const auto seed = answer.find("seed");
    auto secret = token(answer, "secret");
    if (!game || *game < 1 || seed == answer.end() || !seed->is_number_unsigned() ||
        seed->get<std::uint64_t>() > UINT32_MAX || !secret)
        return std::nullopt;
    return Dealt{*game, static_cast<std::uint32_t>(seed->get<std::uint64_t>()), std::move(*secret)};
}

std::optional<Acknowledged> read_acknowledged(std::string_view body) {
    const json answer = parsed(body);
    if (!answer.is_object())
        return std::nullopt;
    const auto seq = whole(answer, "acked");
    if (!seq || *seq < 1)
        return std::nullopt;
    Acknowledged acked{*seq, {}};
    if (const auto run = answer.find("run"); run != answer.end()) {
        if (!run->is_object())
            return std::nullopt;
        acked.run_body = run->dump();
    }
    return acked;
}

} // namespace live
