#pragma once
// The live session's exchanges with a board, as requests to send and
// answers to read. The board is a stranger: an answer not of the expected
// shape is refused whole.
//
//   POST /api/live                      {}                 -> 201 {"run", "secret"}
//   POST /api/live/RUN/games            {"secret", "name", "level"}
//                                                          -> 201 {"game", "seed", "secret"}
//   POST /api/live/RUN/batches          {"secret": of the game dealt last,
//                                        "seq", "lines", "frame", "holds", "last"}
//                                                          -> 200 {"acked"[, "run"]}
//
// A batch answered 409 comes after the board ended the game; 403 carries a
// secret the board did not deal.

#include "app/http/client.hpp"
#include "app/live/live_feed.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace live {

struct Opened {
    std::string run;
    std::string secret;
};

struct Dealt {
    std::int64_t game = 0;
    std::uint32_t seed = 0;
    std::string secret;
};

struct Acknowledged {
    std::int64_t seq = 0;
    // With the last batch: the stored run's answer, as --submit reads it.
    std::string run_body;
};

http::Request open_request(const std::string& board);
// `name` as typed, in UTF-8; `level` the level key.
http::Request deal_request(const std::string& board, const Opened& session, const std::string& name,
                           int level);
http::Request batch_request(const std::string& board, const Opened& session,
                            const std::string& game_secret, const Batch& batch);

std::optional<Opened> read_opened(std::string_view body);
std::optional<Dealt> read_dealt(std::string_view body);
std::optional<Acknowledged> read_acknowledged(std::string_view body);

} // namespace live
