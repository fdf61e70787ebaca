// --submit's side of the exchange with a board, the board played by a fake
// sender: what is sent, what the player reads of each answer, and the
// status each ending gives.
#include "app/submit/board_answer.hpp"
#include "app/submit/server_address.hpp"
#include "app/submit/submit_command.hpp"
#include "console/memory_console.hpp"
#include "tests/server/temp_dir.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string BOARD = "http://127.0.0.1:8080";
const std::string STORED_ANSWER =
    R"({"id":12,"page":"/runs/12","replay":"/runs/12.replay","games":[)"
    R"({"name":"Ana","points":135,"start_level":1,"end_level":2,"lives":0,"ending":"perdeu",)"
    R"("frames":1234,"kind":"open","place":3,"level_place":1},)"
    R"({"name":"Bia\u001b[2J","points":9000,"start_level":3,"end_level":4,"lives":2,)"
    R"("ending":"saiu","frames":99,"kind":"ranked","place":1,"level_place":1}]})";

struct Sent {
    int status = 0;
    std::string out;
    std::string err;
    std::vector<http::Request> requests;
};

Sent submit_with(const http::Outcome& answer, const std::string& bytes = "orbitrix replay 1\n") {
    Sent sent;
    std::ostringstream out;
    std::ostringstream err;
    sent.status = submit::submit_recording(
        bytes, "run.replay", BOARD,
        [&](const http::Request& request) {
            sent.requests.push_back(request);
            return answer;
        },
        out, err);
    sent.out = out.str();
    sent.err = err.str();
    return sent;
}

TEST(BoardAddress, TakesHttpAndHttpsAddressesWithAHostOnly) {
    EXPECT_EQ(submit::board_address("http://h"), "http://h");
    EXPECT_EQ(submit::board_address("https://h.example:8443/board//"),
              "https://h.example:8443/board");
    EXPECT_EQ(submit::board_address("HTTP://h/"), "HTTP://h");
    for (const char* refused : {"", "h.example", "ftp://h", "http://", "https:///x", "http://:80",
                                "http://a b", "http://a\nb", "file:///etc/passwd"})
        EXPECT_EQ(submit::board_address(refused), std::nullopt) << refused;
    EXPECT_EQ(submit::under("http://h/b", "/runs/1"), "http://h/b/runs/1");
    EXPECT_EQ(submit::under("http://h", "api/runs"), "http://h/api/runs");
}

TEST(BoardAnswer, AStoredRunIsReadWithEveryGameAndShownInPortuguese) {
    const auto run = submit::read_stored_run(STORED_ANSWER);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->id, 12);
    ASSERT_EQ(run->games.size(), 2u);
    EXPECT_FALSE(run->games[0].ranked);
    EXPECT_TRUE(run->games[1].ranked);
    // A name from the board cannot drive the terminal it is printed on.
    EXPECT_EQ(submit::player_lines(*run, BOARD, submit::Arrival::stored),
              "Ana: 135 pontos, 3o lugar no quadro, 1o no nivel 1 (jogo aberto)\n"
              "Bia?[2J: 9000 pontos, 1o lugar no quadro, 1o no nivel 3 (jogo ranqueado)\n"
              "Partida guardada no quadro: http://127.0.0.1:8080/runs/12\n");
    EXPECT_EQ(submit::player_lines(submit::StoredRun{7, "/runs/7", {}}, BOARD,
                                   submit::Arrival::already_there),
              "Esta partida ja estava no quadro: http://127.0.0.1:8080/runs/7\n");
}

TEST(BoardAnswer, AnythingButTheAgreedShapeIsRefusedWhole) {
    // Appended piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict) on a
    // literal added to a temporary string.
    auto run_with = [](std::string_view id, std::string_view page, std::string_view games) {
        std::string run = R"({"id":)";
        run += id;
        run += R"(,"page":)";
        run += page;
        run += R"(,"games":)";
        run += games;
        run += '}';
        return run;
    };
    ASSERT_TRUE(submit::read_stored_run(
        run_with("1", R"("/runs/1")",
                 R"([{"name":"A","points":1,"start_level":1,"kind":"open","place":1,)"
                 R"("level_place":1}])")));
    for (const std::string& body : {
             std::string(""),
             std::string("not json"),
             std::string("[]"),
             std::string(R"({"id":1})"),
             run_with(R"("1")", R"("/runs/1")", "[]"),
             run_with("1.5", R"("/runs/1")", "[]"),
             run_with("1", "7", "[]"),
             // The run's address stays on the board.
             run_with("1", R"("//evil.example/x")", "[]"),
             run_with("1", R"("https://evil.example/x")", "[]"),
             run_with("1", R"("/runs/1")", "{}"),
             run_with("1", R"("/runs/1")", "[1]"),
             run_with("1", R"("/runs/1")", R"([{"name":"A"}])"),
             run_with("1", R"("/runs/1")",
                      R"([{"name":"A","points":1,"start_level":1,"kind":1,"place":1,)"
                      R"("level_place":1}])"),
             run_with("1", R"("/runs/1")",
                      R"([{"name":"A","points":1,"start_level":5,"kind":"open","place":1,)"
                      R"("level_place":1}])"),
             run_with("1", R"("/runs/1")",
                      R"([{"name":"A","points":1,"start_level":1,"kind":"best","place":1,)"
                      R"("level_place":1}])"),
             run_with("1", R"("/runs/1")",
                      R"([{"name":"A","points":1,"start_level":1,"kind":"open","place":0,)"
                      R"("level_place":1}])"),
             std::string("{\"id\":1,\"page\":\"/r\xff\",\"games\":[]}"),
         })
        EXPECT_EQ(submit::read_stored_run(body), std::nullopt) << body;
    EXPECT_EQ(submit::read_error(R"({"error":"game 1: points differ"})"), "game 1: points differ");
    EXPECT_EQ(submit::read_error("<html>"), std::nullopt);
    EXPECT_EQ(submit::read_error(R"({"error":3})"), std::nullopt);
}

TEST(SubmitRecording, TheBytesArePostedAsTheyAreAndEachAnswerEndsWithItsStatus) {
    const std::string bytes = "orbitrix replay 1\r\nkey 32 0\n\xc3\xa9";
    const Sent stored = submit_with(http::Response{201, STORED_ANSWER}, bytes);
    ASSERT_EQ(stored.requests.size(), 1u);
    EXPECT_EQ(stored.requests[0].method, "POST");
    EXPECT_EQ(stored.requests[0].url, "http://127.0.0.1:8080/api/runs");
    EXPECT_EQ(stored.requests[0].body, bytes);
    EXPECT_EQ(stored.status, 0);
    EXPECT_NE(stored.out.find("Partida guardada no quadro: "), std::string::npos);
    EXPECT_EQ(stored.err, "");

    const Sent again = submit_with(http::Response{200, STORED_ANSWER});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("Esta partida ja estava no quadro: "), std::string::npos);

    const Sent refused = submit_with(
        http::Response{422, R"({"error":"game 2 ends with 340 points, recorded 350"})"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "orbitrix: the board at http://127.0.0.1:8080 refused run.replay: "
                           "game 2 ends with 340 points, recorded 350\n");

    const Sent busy = submit_with(http::Response{429, R"({"error":"too many"})", "30"});
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find("too many (try again in 30 s)"), std::string::npos) << busy.err;

    const Sent not_a_board = submit_with(http::Response{502, "<html>bad gateway</html>"});
    EXPECT_EQ(not_a_board.status, 1);
    EXPECT_NE(not_a_board.err.find("refused run.replay: status 502"), std::string::npos);

    const Sent garbled = submit_with(http::Response{201, "{}"});
    EXPECT_EQ(garbled.status, 1);
    EXPECT_EQ(garbled.out, "");
    EXPECT_NE(garbled.err.find("not a board's answer"), std::string::npos);

    const Sent unreachable = submit_with(http::Failure{"Connection refused"});
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.err,
              "orbitrix: cannot reach the board at http://127.0.0.1:8080: Connection refused\n");
}

} // namespace
