// Two boards on one SQLite file, as two servers on one database: a session
// opened on one is carried on by the other, and whichever copy is behind
// the store catches up before it answers, so no batch is kept twice, every
// batch acknowledged is in the run, and the session ends once. A board
// made afresh on the same file, as a server restarted after SIGKILL, takes
// the session up where the store left it.
#include "server/live/live_board.hpp"
#include "server/service/live_keeper.hpp"
#include "server/sha256.hpp"
#include "server/store_pool.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using board::http::Request;
using board::http::Response;
using nlohmann::json;

std::vector<std::string> session_lines() {
    std::ifstream in(ORBITRIX_TEST_DATA "/session.replay", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

// One server's board over the shared file, on the test's clock.
struct Server {
    Server(const std::string& database, std::function<std::int64_t()> now)
        : stores(database, 2), keeper(stores, now), live(keeper, live::LiveLimits{}, now) {}
    board::StorePool stores;
    board::StoreKeeper keeper;
    live::LiveBoard live;
};

Request post(const json& body) {
    Request request;
    request.method = "POST";
    request.body = body.dump();
    request.client = "192.0.2.7";
    return request;
}

class TwoBoards : public ::testing::Test {
  protected:
    void SetUp() override {
        one = std::make_unique<Server>(database, now);
        two = std::make_unique<Server>(database, now);
        const Response opened = one->live.open(post(json::object()));
        ASSERT_EQ(opened.status, 201) << opened.body;
        id = std::stoll(json::parse(opened.body)["run"].get<std::string>());
        session_secret = json::parse(opened.body)["secret"];
        const Response dealt = one->live.deal(
            id, post(json{{"secret", session_secret}, {"name", "Ana"}, {"level", '1'}}));
        ASSERT_EQ(dealt.status, 201) << dealt.body;
        game_secret = json::parse(dealt.body)["secret"];
    }

    // Batch `seq`: two lines of the session each, the last marked.
    Response send(Server& to, std::int64_t seq) {
        clock += 250;
        const std::size_t from = static_cast<std::size_t>(seq - 1) * 2;
        std::string text;
        for (std::size_t i = from; i < from + 2 && i < lines.size(); ++i)
            text += lines[i];
        return to.live.batch(id, post(json{{"secret", game_secret},
                                           {"seq", seq},
                                           {"lines", text},
                                           {"frame", 0},
                                           {"last", seq == batches()}}));
    }
    std::int64_t batches() const { return static_cast<std::int64_t>((lines.size() + 1) / 2); }
    std::string stored_recording() {
        return board::StorePool(database, 1).take()->recording(run_id()).value_or("");
    }
    std::int64_t run_id() { return board::StorePool(database, 1).take()->live_run(id).value_or(0); }

    teste::TempDir dir;
    const std::string database = dir.file("board.sqlite3");
    std::atomic<std::int64_t> clock{1'765'000'000'000};
    std::function<std::int64_t()> now = [this] { return clock.load(); };
    const std::vector<std::string> lines = session_lines();
    std::unique_ptr<Server> one;
    std::unique_ptr<Server> two;
    std::int64_t id = 0;
    std::string session_secret;
    std::string game_secret;
};

std::string all(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    return joined;
}

} // namespace

TEST_F(TwoBoards, EachCopyCatchesUpBeforeItAnswersAndTheSessionEndsOnce) {
    ASSERT_GT(batches(), 8);
    struct Step {
        const char* what;
        Server* to;
        std::int64_t seq;
        int status;
        std::int64_t expect = 0; // a gap's
    };
    const std::vector<Step> steps = {
        {"fed to one", one.get(), 1, 200},
        {"", one.get(), 2, 200},
        {"", one.get(), 3, 200},
        {"two loads it from the store", two.get(), 4, 200},
        {"one is behind: it catches up first", one.get(), 5, 200},
        {"a resend to two, kept by one", two.get(), 5, 200},
        {"a resend to one, kept by two", one.get(), 4, 200},
        {"a gap, after catching up", two.get(), 8, 409, 6},
        {"", two.get(), 6, 200},
        {"", one.get(), 7, 200},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.what) + " seq " + std::to_string(s.seq));
        const Response answer = send(*s.to, s.seq);
        ASSERT_EQ(answer.status, s.status) << answer.body;
        const json body = json::parse(answer.body);
        if (s.status == 200)
            EXPECT_EQ(body["acked"], s.seq);
        else
            EXPECT_EQ(body["expect"], s.expect);
    }
    EXPECT_EQ(board::StorePool(database, 1).take()->live_lines(id),
              all({lines.begin(), lines.begin() + 14}));

    for (std::int64_t seq = 8; seq < batches(); ++seq)
        ASSERT_EQ(send(*two, seq).status, 200);
    const Response last = send(*two, batches());
    ASSERT_EQ(last.status, 200) << last.body;
    const json run = json::parse(last.body)["run"];
    EXPECT_EQ(run["id"], run_id());
    EXPECT_EQ(stored_recording(), all(lines));
    // One, behind, learns the end from the store and answers the same run.
    const Response again = send(*one, batches());
    ASSERT_EQ(again.status, 200) << again.body;
    EXPECT_EQ(json::parse(again.body)["run"], run);
    EXPECT_FALSE(one->live.playing(id));
    EXPECT_EQ(send(*one, batches() + 1).status, 409);
}

TEST_F(TwoBoards, OnlyTheCopyThatIsNotBehindEndsAnAbandonedSession) {
    for (std::int64_t seq = 1; seq <= 3; ++seq)
        ASSERT_EQ(send(*one, seq).status, 200);
    ASSERT_EQ(send(*two, 4).status, 200);
    // Past one's grace but not two's: one finds two fed it, and keeps it.
    clock += 9'900;
    one->live.sweep();
    EXPECT_TRUE(one->live.playing(id));
    EXPECT_FALSE(run_id());
    // Past both: both sweep, one run.
    clock += 20'000;
    one->live.sweep();
    two->live.sweep();
    EXPECT_FALSE(one->live.playing(id));
    EXPECT_FALSE(two->live.playing(id));
    EXPECT_TRUE(run_id());
    EXPECT_EQ(stored_recording(), all({lines.begin(), lines.begin() + 8}));
    // Its one game dealt, never reached: open, once.
    EXPECT_EQ(board::StorePool(database, 1).take()->count(board::BoardQuery{}), 1);
}

TEST_F(TwoBoards, ARestartedBoardTakesUpTheSessionWhereTheStoreLeftIt) {
    for (std::int64_t seq = 1; seq <= 5; ++seq)
        ASSERT_EQ(send(*one, seq).status, 200);
    one.reset(); // all it held in memory gone; the store's rows stay
    one = std::make_unique<Server>(database, now);
    one->live.restore();
    const json listed = json::parse(one->live.list().body)["games"];
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]["id"], id);
    EXPECT_EQ(listed[0]["player"], "Ana");

    // The session's secret and its game's still open it; a resend is
    // acknowledged, and the stream goes on to its end.
    EXPECT_EQ(
        one->live.deal(id, post(json{{"secret", "ab"}, {"name", "Bo"}, {"level", '1'}})).status,
        403);
    EXPECT_EQ(send(*one, 5).status, 200);
    for (std::int64_t seq = 6; seq <= batches(); ++seq)
        ASSERT_EQ(send(*one, seq).status, 200) << seq;
    EXPECT_EQ(stored_recording(), all(lines));
    // How far its replay kept behind is told of the batches it saw arrive
    // that play frames: not of those it took up from the store long after
    // they came, nor of these, which all stand at the first frame.
    EXPECT_EQ(one->live.totals().replay_lags.total(), 0);

    // Only the secrets' hashes are kept.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* row = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT s.secret_sha256, s.client, g.secret_sha256 FROM "
                                 "live_sessions s JOIN live_games g ON g.session_id = s.id",
                                 -1, &row, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(row), SQLITE_ROW);
    const auto column = [&](int i) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(row, i)));
    };
    EXPECT_EQ(column(0), board::sha256_hex(session_secret));
    EXPECT_EQ(column(1), "192.0.2.7");
    EXPECT_EQ(column(2), board::sha256_hex(game_secret));
    sqlite3_finalize(row);
    sqlite3_close(db);
}

TEST(LagCounts, PercentilesByTheMillisecondWithTheLongestCountedTogether) {
    live::LagCounts lags;
    EXPECT_FALSE(lags.percentile(0.5));
    for (int ms = 1; ms <= 100; ++ms)
        lags.add(ms);
    lags.add(std::vector<std::int32_t>{-3, 60'000});
    const std::pair<double, std::int64_t> cases[] = {
        {0.0, 0}, {0.01, 1}, {0.5, 50}, {0.99, 100}, {1.0, live::LagCounts::MOST_MS}};
    for (const auto& [share, ms] : cases)
        EXPECT_EQ(lags.percentile(share), ms) << share;
    EXPECT_EQ(lags.total(), 102);
}

// The board's list of games is asked while the session ends on another
// thread: it reads the session's end under the session's own lock (a
// thread sanitizer flags it otherwise), lists the game while it is played,
// and never once it has ended.
TEST_F(TwoBoards, TheListIsAskedWhileTheSessionEnds) {
    std::atomic<bool> ended{false};
    std::atomic<int> listed_after_end{0};
    std::atomic<int> asked{0};
    std::thread lister([&] {
        while (!ended) {
            one->live.list();
            ++asked;
        }
        listed_after_end = static_cast<int>(json::parse(one->live.list().body)["games"].size());
    });
    int refused = 0; // no ASSERT before the lister is joined
    for (std::int64_t seq = 1; seq <= batches(); ++seq)
        refused += send(*one, seq).status != 200;
    ended = true;
    lister.join();
    EXPECT_EQ(refused, 0);
    EXPECT_GT(asked.load(), 0);
    EXPECT_EQ(listed_after_end.load(), 0);
}
