// A live session's client side, the board played by a scripted sender: the
// feed's batches, the sender's answers to each kind of reply, and the
// platform's frames, holds and dealt seeds.
#include "app/live/live_feed.hpp"
#include "app/live/live_platform.hpp"
#include "app/live/live_protocol.hpp"
#include "app/live/live_sender.hpp"
#include "app/live/live_session.hpp"
#include "console/memory_console.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using live::Batch;
using live::Feed;
using live::Hold;
using live::Sender;

TEST(Feed, BatchesHoldWholeLinesAndKeepTheirNumberUntilAcknowledged) {
    Feed feed;
    feed.write("orbitrix replay 1\nT 17");
    feed.reach(3);
    feed.hold(Hold{2, 900});
    const Batch first = *feed.next();
    EXPECT_EQ(first.seq, 1);
    EXPECT_EQ(first.lines, "orbitrix replay 1\n"); // the cut line waits for its end
    EXPECT_EQ(first.frame, 3);
    EXPECT_EQ(first.holds, std::vector<Hold>{(Hold{2, 900})});

    feed.write("00\n");
    feed.reach(9);
    const Batch again = *feed.next(); // not acknowledged: the same batch
    EXPECT_EQ(again.seq, 1);
    EXPECT_EQ(again.lines, first.lines);
    EXPECT_EQ(again.frame, 3);

    feed.acknowledged(7); // not the one in flight
    EXPECT_EQ(feed.next()->seq, 1);
    feed.acknowledged(1);
    const Batch second = *feed.next();
    EXPECT_EQ(second.seq, 2);
    EXPECT_EQ(second.lines, "T 1700\n");
    EXPECT_EQ(second.frame, 9);
    EXPECT_TRUE(second.holds.empty());
    EXPECT_FALSE(second.last);
    feed.acknowledged(2);

    // Without new lines a batch still says where the game is.
    feed.reach(12);
    EXPECT_EQ(feed.next()->lines, "");
    EXPECT_EQ(feed.next()->frame, 12);
    feed.acknowledged(3);

    feed.end();
    const Batch last = *feed.next();
    EXPECT_TRUE(last.last);
    EXPECT_FALSE(feed.finished());
    feed.acknowledged(last.seq);
    EXPECT_TRUE(feed.finished());
    EXPECT_FALSE(feed.next().has_value());
}

TEST(Feed, StopsWholeWhenTheBoardFallsTooFarBehind) {
    Feed feed(16);
    feed.write("0123456789\n");
    feed.write("0123456789\n"); // 22 bytes waiting: over
    EXPECT_TRUE(feed.overflowed());
    feed.write("x\n");
    feed.end();
    const Batch batch = *feed.next();
    EXPECT_EQ(batch.lines, "0123456789\n");
    EXPECT_FALSE(batch.last); // a stream with a gap never ends as whole
}

// The board, one scripted answer per request; past the script, no answer.
struct ScriptedBoard {
    std::deque<http::Outcome> answers;
    std::vector<http::Request> requests;
    live::Post post() {
        return [this](const http::Request& request, http::TimeLimits) -> http::Outcome {
            requests.push_back(request);
            if (answers.empty())
                return http::Failure{"connection refused"};
            http::Outcome next = answers.front();
            answers.pop_front();
            return next;
        };
    }
};

http::Outcome answer(int status, std::string body) {
    return http::Response{status, std::move(body)};
}
http::Outcome acked(int seq) {
    return answer(200, R"({"acked":)" + std::to_string(seq) + "}");
}
const http::Outcome NO_ANSWER = http::Failure{"timed out"};

// A field of a request's JSON body, as written: "name":VALUE.
std::string field(const http::Request& request, const std::string& name) {
    std::smatch found;
    const std::regex pattern("\"" + name + "\":(\"[^\"]*\"|[^,}]*)");
    return std::regex_search(request.body, found, pattern) ? found[1].str() : "";
}

TEST(Sender, EndsAsEachKindOfAnswerSays) {
    struct Case {
        const char* what;
        std::vector<http::Outcome> answers;
        std::vector<std::int64_t> step_at_ms; // after the deal at 0
        Sender::State state;
        std::vector<std::int64_t> seqs_sent;
        std::vector<std::string> boards_tried;
        const char* why_has;
    };
    const std::string A = "http://a";
    const std::string B = "http://b";
    const std::vector<Case> cases = {
        {"acknowledged in order",
         {acked(1), acked(2)},
         {250, 500},
         Sender::State::streaming,
         {1, 2},
         {A, A},
         ""},
        {"a lost answer sends the same batch again, to the next board",
         {NO_ANSWER, acked(1), acked(2)},
         {250, 500, 750},
         Sender::State::streaming,
         {1, 1, 2},
         {A, B, B},
         ""},
        {"a busy board is one that did not answer",
         {answer(503, "{}"), answer(429, "{}"), acked(1)},
         {250, 500, 750},
         Sender::State::streaming,
         {1, 1, 1},
         {A, B, A},
         ""},
        {"an acknowledgement of another batch is no acknowledgement",
         {acked(5), acked(1)},
         {250, 500},
         Sender::State::streaming,
         {1, 1},
         {A, B},
         ""},
        {"the board ended the game",
         {answer(409, R"({"error":"the game was abandoned"})")},
         {250, 500},
         Sender::State::ended,
         {1},
         {A},
         "abandoned"},
        {"a secret the board did not deal",
         {answer(403, R"({"error":"wrong secret"})")},
         {250},
         Sender::State::refused,
         {1},
         {A},
         "wrong secret"},
        {"nothing acknowledged for longer than the grace",
         {acked(1)},
         {250, 5'000, 10'000, 10'251, 10'400},
         Sender::State::lost,
         {1, 2, 2, 2},
         {A, A, B, A},
         "10 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Feed feed;
        live::Boards boards({A, B});
        ScriptedBoard board{{c.answers.begin(), c.answers.end()}, {}};
        Sender sender(feed, boards, board.post(), live::Opened{"1f", "5e"}, 10'000);
        sender.step(0); // nothing dealt yet: nothing sent
        EXPECT_TRUE(board.requests.empty());
        sender.dealt("9a", 0);
        for (const std::int64_t at : c.step_at_ms) {
            feed.write("K 32 1\n");
            sender.step(at);
        }
        EXPECT_EQ(sender.state(), c.state);
        std::vector<std::int64_t> seqs;
        std::vector<std::string> tried;
        for (const http::Request& r : board.requests) {
            seqs.push_back(std::stoll(field(r, "seq")));
            EXPECT_EQ(field(r, "secret"), "\"9a\"");
            tried.push_back(r.url.substr(0, r.url.find("/api/")));
            EXPECT_EQ(r.url.substr(r.url.find("/api/")), "/api/live/1f/batches");
        }
        EXPECT_EQ(seqs, c.seqs_sent);
        EXPECT_EQ(tried, c.boards_tried);
        EXPECT_NE(sender.why().find(c.why_has), std::string::npos) << sender.why();
    }
}

TEST(Sender, IsDoneWhenTheLastBatchIsAcknowledgedWithTheRun) {
    Feed feed;
    live::Boards boards({"http://a"});
    ScriptedBoard board{{answer(200, R"({"acked":1,"run":{"id":4,"page":"/runs/4"}})")}, {}};
    Sender sender(feed, boards, board.post(), live::Opened{"1f", "5e"}, 10'000);
    sender.dealt("9a", 0);
    feed.write("E x\n");
    feed.end();
    sender.step(100);
    EXPECT_EQ(sender.state(), Sender::State::done);
    EXPECT_EQ(field(board.requests.at(0), "last"), "true");
    EXPECT_NE(sender.run_body().find(R"("page":"/runs/4")"), std::string::npos);
}

// As a page sends: the request now, its answer at a later turn, while the
// game goes on writing. An answer is read against the batch it was sent
// for, not the one the feed would cut next.
TEST(Sender, ReadsALaterAnswerAgainstTheBatchItWasSentFor) {
    Feed feed;
    live::Boards boards({"http://a", "http://b"});
    Sender sender(feed, boards, nullptr, live::Opened{"1f", "5e"}, 10'000);
    EXPECT_FALSE(sender.due().has_value()); // nothing dealt yet
    sender.dealt("9a", 0);
    feed.write("K 1\n");
    const auto first = sender.due();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(field(*first, "seq"), "1");
    feed.write("K 2\n");
    sender.answered(NO_ANSWER, 300); // gone astray: the same batch, to the next board
    const auto again = sender.due();
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->url.rfind("http://b/", 0), 0U) << again->url;
    EXPECT_EQ(field(*again, "seq"), "1");
    EXPECT_EQ(again->body, first->body); // the same bytes: "K 2" waits its turn
    feed.end();
    sender.answered(acked(1), 600);
    EXPECT_EQ(sender.state(), Sender::State::streaming);
    const auto second = sender.due();
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(field(*second, "seq"), "2");
    EXPECT_EQ(field(*second, "last"), "true");
    sender.answered(acked(2), 900);
    EXPECT_EQ(sender.state(), Sender::State::done);
    sender.answered(acked(3), 1'000); // nothing was sent: nothing to read
    EXPECT_EQ(sender.state(), Sender::State::done);
}

TEST(Protocol, AnswersOfAnyOtherShapeAreRefusedWhole) {
    EXPECT_TRUE(live::read_opened(R"({"run":"1f","secret":"ab"})"));
    EXPECT_TRUE(live::read_dealt(R"({"game":1,"seed":4294967295,"secret":"ab"})"));
    EXPECT_TRUE(live::read_acknowledged(R"({"acked":3})"));
    for (const char* bad : {"", "[]", "{", R"({"run":"1f"})", R"({"run":"../x","secret":"ab"})",
                            R"({"run":"1F","secret":"ab"})", R"({"run":1,"secret":"ab"})"})
        EXPECT_FALSE(live::read_opened(bad)) << bad;
    for (const char* bad :
         {R"({"game":0,"seed":1,"secret":"ab"})", R"({"game":1,"seed":4294967296,"secret":"ab"})",
          R"({"game":1,"seed":-1,"secret":"ab"})", R"({"game":1,"seed":1,"secret":""})",
          R"({"game":1,"seed":1})"})
        EXPECT_FALSE(live::read_dealt(bad)) << bad;
    for (const char* bad : {R"({"acked":0})", R"({"acked":"1"})", R"({"acked":1,"run":[]})"})
        EXPECT_FALSE(live::read_acknowledged(bad)) << bad;
}

TEST(LivePlatform, CountsFramesReportsHoldsOnlyInADealtGameAndAnswersItsSeed) {
    console::MemoryConsole con;
    con.platform.set_time(1'700'000'000);
    Feed feed;
    std::vector<std::pair<std::string, int>> asked;
    bool deal_fails = false;
    live::LivePlatform platform(
        con.platform, feed,
        [&](const std::string& name, int level) {
            asked.emplace_back(name, level);
            if (deal_fails)
                return live::GameDeal{std::nullopt, "cannot reach the board"};
            return live::GameDeal{live::Dealt{1, 4242, "ab"}, {}};
        },
        [&] { return con.platform.now_ms(); });

    platform.partida_comeca();
    platform.sleep(5'000); // the title, before any deal: not a hold
    EXPECT_EQ(platform.time(), 1'700'000'005);
    platform.nivel_escolhido("Ana", '2');
    EXPECT_EQ(platform.time(), 4242);
    platform.kbhit();
    platform.sleep(40);
    platform.kbhit();
    con.platform.push_key('p', con.platform.now_ms() + 3'000); // the pause, 3 s
    platform.getch();
    platform.kbhit();
    platform.sleep(40);
    platform.partida_termina(game::Resultado{});
    con.platform.push_key(13, con.platform.now_ms() + 9'000); // the end screen
    platform.getch();

    deal_fails = true;
    platform.partida_comeca();
    platform.nivel_escolhido("Ana", '1');
    EXPECT_NE(platform.time(), 4242); // the machine's clock: an open game
    platform.kbhit();
    con.platform.push_key('p', con.platform.now_ms() + 3'000);
    platform.getch(); // not dealt: not judged, no hold

    EXPECT_EQ(asked, (std::vector<std::pair<std::string, int>>{{"Ana", '2'}, {"Ana", '1'}}));
    ASSERT_EQ(platform.deals().size(), 2u);
    EXPECT_TRUE(platform.deals()[0].dealt);
    EXPECT_EQ(platform.deals()[1].why, "cannot reach the board");
    feed.end();
    const Batch batch = *feed.next();
    EXPECT_EQ(batch.frame, 4);
    EXPECT_EQ(batch.holds, std::vector<Hold>{(Hold{2, 3'000, true})});
}

// Two boards, "a" and "b", each answering the deal as the case says; the
// clock moves on by what each answer takes. Only the deals are looked at:
// the sender's batches, once a game is dealt, go unanswered.
TEST(Session, ADealTheBoardDoesNotAnswerGoesToTheNextWithinTheWait) {
    struct Answer {
        std::optional<int> status; // none: the board is not reached
        std::int64_t takes_ms = 10;
    };
    const auto dealt = [](const std::string& seed) {
        return R"({"game":1,"seed":)" + seed + R"(,"secret":"ab"})";
    };
    struct Case {
        const char* what;
        Answer a, b;
        std::vector<std::string> asked; // the boards asked, in turn
        bool dealt;
        const char* why; // part of it
    } const cases[] = {
        {"a not reached, b deals", {}, {201}, {"a", "b"}, true, ""},
        {"a busy, b deals", {503}, {201}, {"a", "b"}, true, ""},
        {"a refuses the name: its word stands", {422}, {201}, {"a"}, false, "the board at a"},
        {"a not reached until the wait is over",
         {std::nullopt, 5'000},
         {201},
         {"a"},
         false,
         "cannot reach the board at a"},
        {"neither reached", {}, {}, {"a", "b"}, false, "cannot reach the board at b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::atomic<std::int64_t> clock{0};
        std::mutex mutex;
        std::vector<std::string> asked;
        std::vector<std::int64_t> allowed_ms;
        const live::Post post = [&](const http::Request& request,
                                    http::TimeLimits limits) -> http::Outcome {
            const std::string board = request.url.substr(0, 1);
            if (request.url.ends_with("/api/live"))
                return http::Response{201, R"({"run":"7","secret":"cd"})"};
            if (!request.url.ends_with("/games"))
                return http::Failure{"not answered"};
            const Answer& answer = board == "a" ? c.a : c.b;
            {
                const std::lock_guard lock(mutex);
                asked.push_back(board);
                allowed_ms.push_back(limits.total.count());
            }
            clock += answer.takes_ms;
            if (!answer.status)
                return http::Failure{"refused"};
            return http::Response{*answer.status,
                                  *answer.status == 201 ? dealt("9") : R"({"error":"no"})"};
        };
        std::ostringstream err;
        const auto session = live::Session::open(
            {"a", "b"}, post, [&] { return clock.load(); }, err);
        ASSERT_TRUE(session);
        const live::GameDeal deal = session->deal("Ana", 1);
        const std::lock_guard lock(mutex);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(deal.dealt.has_value(), c.dealt);
        EXPECT_NE(deal.why.find(c.why), std::string::npos) << deal.why;
        // Each board is given what is left of the one wait.
        for (std::size_t i = 0; i < allowed_ms.size(); ++i)
            EXPECT_EQ(allowed_ms[i], live::DEAL_WAIT.count() - 10 * static_cast<std::int64_t>(i));
    }
}

} // namespace
