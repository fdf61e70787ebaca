// A board read is made once for each version of the board and target, kept
// until a run changes the version, and answered 304 without being made to
// a client that holds that version.
#include "server/service/board_read.hpp"

#include <gtest/gtest.h>

namespace board {
namespace {

// A board of `games` games: all a read's version is made from.
class CountedStore final : public Store {
  public:
    std::int64_t games = 0;
    std::int64_t count(const BoardQuery&) override { return games; }
    Inserted insert_run(const NewRun&) override { return {}; }
    std::vector<Placed> board(const BoardQuery&) override { return {}; }
    std::vector<Placed> board_after(const BoardQuery&, const BoardCursor&) override { return {}; }
    std::optional<StoredRun> run(std::int64_t) override { return {}; }
    std::vector<std::int64_t> places(std::int64_t, const BoardQuery&) override { return {}; }
    std::vector<GamePlaces> run_places(std::int64_t) override { return {}; }
    std::optional<std::string> recording(std::int64_t) override { return {}; }
    Ticket issue_ticket(std::uint32_t, std::int64_t) override { return {}; }
    std::optional<Ticket> ticket(const std::string&) override { return {}; }
    std::int64_t purge_tickets(std::int64_t) override { return 0; }
};

std::string etag_of(const http::Response& r) {
    for (const auto& [name, value] : r.headers)
        if (name == "ETag")
            return value;
    return r.version.empty() ? std::string() : "\"" + r.version + "\"";
}

TEST(BoardRead, IsMadeOnceAVersionAndTargetAndKeptUntilARunComes) {
    CountedStore store;
    MadeAnswers made(1 << 20);
    int makes = 0;
    std::string held; // the tag the client holds
    struct Step {
        const char* what;
        std::string target;
        std::int64_t games; // on the board when asked
        bool revalidates;   // sends the tag it holds
        bool exists;        // something is at the target
        int status;
        int makes; // made in all, after this step
    };
    const Step steps[] = {
        {"first read", "/api/board", 3, false, true, 200, 1},
        {"again", "/api/board", 3, false, true, 200, 1},
        {"held", "/api/board", 3, true, true, 304, 1},
        {"another target", "/api/board?level=2", 3, false, true, 200, 2},
        {"a run came", "/api/board", 4, true, true, 200, 3},
        {"held again", "/api/board", 4, true, true, 304, 3},
        {"nothing there", "/runs/9", 4, false, false, 404, 4},
        {"still nothing, not kept", "/runs/9", 4, false, false, 404, 5},
    };
    for (const Step& s : steps) {
        store.games = s.games;
        http::Request request;
        request.method = "GET";
        request.target = s.target;
        if (s.revalidates)
            request.headers = {{"If-None-Match", held}};
        const http::Response answer = board_read(
            request, store, made, "application/json",
            [&]() -> std::optional<std::string> {
                ++makes;
                if (!s.exists)
                    return std::nullopt;
                return s.target + " of " + std::to_string(s.games);
            },
            [] {
                http::Response missing;
                missing.status = 404;
                return missing;
            });
        EXPECT_EQ(s.status, answer.status) << s.what;
        EXPECT_EQ(s.makes, makes) << s.what;
        if (answer.status == 200) {
            EXPECT_EQ(s.target + " of " + std::to_string(s.games), answer.body) << s.what;
            held = etag_of(answer);
        }
        if (answer.status == 304) {
            EXPECT_TRUE(answer.body.empty()) << s.what;
        }
    }
}

} // namespace
} // namespace board
