// The board over real HTTP on a loopback port, on a real SQLite file: what
// a client sees for fresh, repeated, edited and hostile recordings, for
// floods and for a busy pool, and that every request leaves one log line.
#include "backed_up_board.hpp"
#include "server/store.hpp"
#include "serving_board.hpp"
#include "support/played_session.hpp"
#include "support/renamed.hpp"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <regex>
#include <thread>

#include <sqlite3.h>
#include <unistd.h>
#include <zlib.h>

namespace {

using nlohmann::json;
using teste::Board;
using teste::committed;
using teste::no_rate_limit;
using teste::replaced;

TEST(Board, StoresAFreshRunOnceAndRanksItsGames) {
    Board b(no_rate_limit());
    const auto first = b.post(committed());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, 201) << first->body;
    EXPECT_EQ(first->get_header_value("Content-Type"), "application/json");
    const json answer = json::parse(first->body);
    const std::int64_t id = answer["id"];
    EXPECT_EQ(answer["page"], "/runs/" + std::to_string(id));
    EXPECT_EQ(answer["replay"], "/runs/" + std::to_string(id) + ".replay");
    ASSERT_EQ(answer["games"].size(), 2u);
    EXPECT_EQ(answer["games"][0],
              json::parse(R"({"name":"Ana","points":0,"start_level":4,"end_level":4,"lives":0,
                "ending":"perdeu","frames":354,"kind":"open","place":1,"level_place":1})"));
    EXPECT_EQ(answer["games"][1]["place"], 2);
    EXPECT_EQ(answer["games"][1]["level_place"], 1);

    const auto again = b.post(committed());
    EXPECT_EQ(again->status, 200);
    EXPECT_EQ(again->body, first->body);
    EXPECT_EQ(b.total(), 2);

    const json board = b.get_json("/api/board?level=4&limit=5");
    EXPECT_EQ(board["level"], "4");
    EXPECT_EQ(board["kind"], "all");
    EXPECT_EQ(board["total"], 1);
    EXPECT_EQ(board["games"][0]["name"], "Ana");
    EXPECT_EQ(board["games"][0]["run"], id);
    EXPECT_EQ(board["games"][0]["game"], 0);
    EXPECT_EQ(board["games"][0]["received"].get<std::string>().size(), 20u);

    const json run = b.get_json("/api/runs/" + std::to_string(id));
    EXPECT_EQ(run["made_by"], "orbitrix 1.0 linux");
    EXPECT_EQ(run["sha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(run["games"], answer["games"]);
    const auto bytes = b.client().Get(("/runs/" + std::to_string(id) + ".replay").c_str());
    EXPECT_EQ(bytes->body, committed());
    EXPECT_EQ(bytes->get_header_value("Content-Type"), "text/plain; charset=utf-8");

    for (const char* missing : {"/api/runs/999", "/runs/999.replay",
                                "/api/runs/99999999999999999999999", "/api/nowhere"}) {
        const auto res = b.client().Get(missing);
        EXPECT_EQ(res->status, 404) << missing;
        EXPECT_TRUE(json::parse(res->body).contains("error"));
    }
    // A person who follows a wrong link reads a page of the board's, in
    // its style, with the way back.
    const struct {
        const char* path;
        int status;
        const char* says;
    } pages[] = {
        {"/nowhere", 404, "Pagina nao encontrada"},
        {"/runs/999", 404, "Sessao nao encontrada"},
        {"/?level=9", 400, "Filtros invalidos"},
        {"/?kind=open&kind=ranked", 400, "Filtros invalidos"},
    };
    for (const auto& page : pages) {
        const auto res = b.client().Get(page.path);
        EXPECT_EQ(res->status, page.status) << page.path;
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8") << page.path;
        EXPECT_NE(res->body.find(page.says), std::string::npos) << page.path;
        EXPECT_NE(res->body.find("/static/orbitrix.css"), std::string::npos) << page.path;
        EXPECT_NE(res->body.find("<a href=\"/\">"), std::string::npos) << page.path;
    }
    EXPECT_EQ(b.client().Get("/api/board?limit=0")->status, 400);
    EXPECT_EQ(b.get_json("/healthz"), json::parse(R"({"ok":true})"));
}

TEST(Board, DealsTicketsButRanksNoGameSentAfterItWasPlayed) {
    Board b(no_rate_limit());
    const auto dealt = b.client().Post("/api/tickets");
    ASSERT_TRUE(dealt);
    EXPECT_EQ(dealt->status, 201) << dealt->body;
    const json ticket = json::parse(dealt->body);
    const std::string server_drawn = ticket["ticket"];
    EXPECT_EQ(server_drawn.size(), 32u);
    EXPECT_TRUE(ticket["seed"].is_number_unsigned());
    EXPECT_NE(json::parse(b.client().Post("/api/tickets")->body)["ticket"], server_drawn);

    // Even on fresh tickets of their very seeds, games sent once played are
    // open, and say why; the store and its pages keep the reason.
    const std::int64_t an_hour_ago = std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::system_clock::now().time_since_epoch())
                                         .count() -
                                     3'600'000;
    const auto store = board::open_store(b.dir.file("board.sqlite3"));
    const std::string ana = store->issue_ticket(1765000004, an_hour_ago).id;
    const std::string bob = store->issue_ticket(1765001204, an_hour_ago).id;
    const auto sent =
        b.client().Post("/api/runs?tickets=" + ana + "," + bob, committed(), "text/plain");
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->status, 201) << sent->body;
    const json answer = json::parse(sent->body);
    for (int g = 0; g < 2; ++g) {
        EXPECT_EQ(answer["games"][g]["kind"], "open") << sent->body;
        EXPECT_EQ(answer["games"][g]["open_because"].get<std::string>().rfind("not played live", 0),
                  0u)
            << sent->body;
    }
    EXPECT_EQ(b.get_json("/api/board?kind=ranked")["total"], 0);
    EXPECT_EQ(b.get_json("/api/runs/1")["games"][0]["open_because"], answer["games"][0]["open_because"]);
    EXPECT_FALSE(store->ticket(ana)->run_id.has_value());
    const std::string ann = committed();

    const auto malformed = b.client().Post("/api/runs?tickets=NOT-HEX", ann, "text/plain");
    EXPECT_EQ(malformed->status, 400);
    EXPECT_TRUE(json::parse(malformed->body).contains("error"));
}

TEST(Board, RefusesEditedAndHostileRecordingsAndStoresNothing) {
    Board b(no_rate_limit());
    const std::string good = committed();
    std::string short_lines = good.substr(0, good.find("key 49 0"));
    while (short_lines.size() + 9 <= (1u << 20))
        short_lines += "key 49 0\n";
    const std::vector<std::pair<std::string, std::string>> hostile{
        {"edited", replaced(good, "game lost 52 52 0 0", "game lost 52 52 10 0")},
        {"key count near 2^63", replaced(good, "key 49 354", "key 49 9223372036854775807")},
        {"1 MiB of short lines", short_lines},
        {"NUL byte in a name", replaced(good, "\"Ana\"", std::string("\"A\0na\"", 6))},
        {"escaped NUL in a name", replaced(good, "\"Ana\"", "\"A\\x00na\"")},
        {"invalid UTF-8 in a name", replaced(good, "\"Ana\"",
                                             "\"A\xfe\xff"
                                             "na\"")},
        {"CRLF", replaced(replaced(good, "\n", "\r\n"), "Bob\"\n", "Bob\"\r\n")},
        {"cut mid-line", good.substr(0, good.size() / 2)},
        {"slow: 196,840,496 no-key answers", replaced(good, "key 49 354", "key 49 196840496")},
        {"not a recording", "GIF89a"},
        {"empty", ""},
    };
    for (const auto& [what, body] : hostile) {
        const auto res = b.post(body);
        ASSERT_TRUE(res) << what;
        EXPECT_GE(res->status, 400) << what;
        EXPECT_LT(res->status, 500) << what;
        const std::string reason = json::parse(res->body)["error"];
        EXPECT_FALSE(reason.empty()) << what;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << what;
        EXPECT_EQ(b.total(), 0) << what;
    }
    const auto edited = b.post(hostile[0].second);
    EXPECT_EQ(edited->status, 422);
    EXPECT_EQ(json::parse(edited->body)["error"], "game 1 differs: points 0 replayed, 10 recorded");
    EXPECT_EQ(b.post(std::string((1u << 20) + 1, 'k'))->status, 413);
    // A form's body (curl's --data-binary unless told otherwise) is read
    // as any other: as a recording, and this one is none.
    const auto form =
        b.client().Post("/api/runs", std::string(9000, 'k'), "application/x-www-form-urlencoded");
    EXPECT_EQ(form->status, 400) << form->body;
    EXPECT_EQ(b.get_json("/healthz")["ok"], true);
    EXPECT_EQ(b.post(good)->status, 201);
}

// "João" as the game's code page holds it, and as the game line writes it.
const std::string JOAO_CODE_PAGE = "Jo\xc6o";
const std::string JOAO = "Jo\xc3\xa3o";

TEST(Board, TakesANameWithAccentsInEitherFormAndShowsItInUtf8) {
    Board b(no_rate_limit());
    const std::string now = teste::renamed(committed(), JOAO_CODE_PAGE, JOAO);
    const std::string before = teste::renamed(committed(), JOAO_CODE_PAGE, "Jo\\xc6o");
    const auto fresh = b.post(now);
    ASSERT_TRUE(fresh);
    ASSERT_EQ(fresh->status, 201) << fresh->body;
    const std::int64_t id = json::parse(fresh->body)["id"];
    EXPECT_EQ(json::parse(fresh->body)["games"][0]["name"], JOAO);
    const auto old = b.post(before);
    ASSERT_EQ(old->status, 201) << old->body;
    const std::int64_t old_id = json::parse(old->body)["id"];

    const json board = b.get_json("/api/board?level=4");
    ASSERT_EQ(board["total"], 2);
    for (const json& game : board["games"])
        EXPECT_EQ(game["name"], JOAO);
    EXPECT_EQ(b.get_json("/api/runs/" + std::to_string(old_id))["games"][0]["name"], JOAO);

    // The pages and the cast show the name as the game did; each run's
    // recording is given back as it was sent.
    const auto page = b.client().Get("/");
    EXPECT_NE(page->body.find(JOAO), std::string::npos);
    const auto run_page = b.client().Get(("/runs/" + std::to_string(id)).c_str());
    EXPECT_NE(run_page->body.find(JOAO), std::string::npos);
    const auto cast = b.client().Get(("/runs/" + std::to_string(id) + ".cast").c_str());
    ASSERT_EQ(cast->status, 200);
    EXPECT_NE(cast->body.find("Partida 1: " + JOAO + ", nivel"), std::string::npos);
    // The same keys in either form: the same session, frame for frame.
    EXPECT_EQ(b.client().Get(("/runs/" + std::to_string(old_id) + ".cast").c_str())->body,
              cast->body);
    EXPECT_EQ(b.client().Get(("/runs/" + std::to_string(id) + ".replay").c_str())->body, now);
    EXPECT_EQ(b.client().Get(("/runs/" + std::to_string(old_id) + ".replay").c_str())->body,
              before);
}

TEST(Board, RefusesNamesAndProgramLinesItCannotShowBeforeAnyReplay) {
    // Any replay on this board runs over its CPU budget: a 400 can only
    // come before one.
    board::ServiceConfig c = no_rate_limit();
    c.limits.cpu_ns = 1;
    Board b(c);
    const std::string good = committed();
    const auto replayed = b.post(good);
    ASSERT_EQ(replayed->status, 422) << replayed->body;
    ASSERT_NE(replayed->body.find("CPU"), std::string::npos) << replayed->body;

    const auto named = [&](const std::string& written) {
        return replaced(good, "\"Ana\"", "\"" + written + "\"");
    };
    const auto made_by = [&](const std::string& program) {
        return replaced(good, "orbitrix 1.0 linux", "orbitrix 1.0 " + program);
    };
    struct Case {
        std::string what;
        std::string body;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"bidi override in a name",
         named("An\xe2\x80\xae"
               "a"),
         "line 11: a game's name holds U+202E"},
        {"Arabic letter mark in a name", named("A\xd8\x9cna"),
         "line 11: a game's name holds U+061C"},
        {"zero-width joiner in a name", named("A\xe2\x80\x8dna"),
         "line 11: a game's name holds U+200D"},
        {"byte order mark in a name",
         named("\xef\xbb\xbf"
               "Ana"),
         "line 11: a game's name holds U+FEFF"},
        {"escape byte in a name", named("A\\x1b[2Jna"),
         "line 11: a game's name holds a control character"},
        {"raw control in a name", named("A\x07na"),
         "line 11: a game's name holds a control character"},
        {"invalid UTF-8 in a name", named("A\xc3(na"), "line 11: a game's name is not UTF-8"},
        {"a name longer than the prompt", named(std::string(200, 'A')),
         "line 11: a game's name is longer than the game's prompt takes"},
        {"control in the program line", made_by("linux\x1b]0;x\x07"),
         "line 2: the program line holds a control character (U+001B)"},
        {"C1 control in the program line", made_by("linux\xc2\x9b"),
         "line 2: the program line holds a control character (U+009B)"},
        {"invalid UTF-8 in the program line", made_by("linux\xfe"),
         "line 2: the program line is not UTF-8"},
        {"bidi isolate in the program line", made_by("\xe2\x81\xa6linux"),
         "line 2: the program line holds a bidi control (U+2066)"},
        {"zero-width space in the program line", made_by("lin\xe2\x80\x8bux"),
         "line 2: the program line holds a zero-width character (U+200B)"},
        {"a program line of 1000 KiB", made_by(std::string(1000 << 10, 'x')),
         "line 2: the program line is longer than 200 bytes"},
    };
    for (const Case& c : cases) {
        const auto res = b.post(c.body);
        ASSERT_TRUE(res) << c.what;
        EXPECT_EQ(res->status, 400) << c.what << ": " << res->body;
        const std::string reason = json::parse(res->body)["error"];
        EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << c.what << ": " << reason;
    }
    EXPECT_EQ(b.total(), 0);
}

TEST(Board, StopsASlowReplayAtItsCpuBudget) {
    board::ServiceConfig c = no_rate_limit();
    c.limits.cpu_ns = 10'000'000;
    Board b(c);
    const auto res = b.post(teste::played_session(11, 30LL * 60 * 1000).text);
    EXPECT_EQ(res->status, 422);
    EXPECT_NE(res->body.find("CPU"), std::string::npos) << res->body;
    EXPECT_EQ(b.total(), 0);
}

TEST(Board, AnswersAFloodFromOneAddressWith429) {
    board::ServiceConfig c;
    c.submissions_per_minute = 2;
    c.trusted_proxies = {*board::http::parse_cidr("127.0.0.1")};
    Board b(c);
    EXPECT_EQ(b.post(committed())->status, 201);
    EXPECT_EQ(b.post(committed())->status, 200);
    const auto flood = b.post(committed());
    EXPECT_EQ(flood->status, 429);
    EXPECT_EQ(flood->get_header_value("Retry-After"), "30");
    EXPECT_EQ(b.client().Get("/api/board")->status, 200); // reads are not limited
    // Behind a trusted proxy on this machine, each client has its own
    // allowance.
    const auto proxied = [&](const std::string& client) {
        return b.client()
            .Post("/api/runs", {{"X-Forwarded-For", "10.9.9.9, " + client}}, committed(),
                  "text/plain")
            ->status;
    };
    EXPECT_EQ(proxied("192.0.2.7"), 200);
    EXPECT_EQ(proxied("192.0.2.7"), 200);
    EXPECT_EQ(proxied("192.0.2.7"), 429);
    EXPECT_EQ(proxied("192.0.2.8"), 200);
}

TEST(Board, AnswersWith503WhenEveryWorkerIsBusyAndReadsGoOn) {
    board::ServiceConfig c = no_rate_limit();
    c.workers = 1;
    c.waiting = 0;
    Board b(c);
    // Hours of play: the one worker replays it for a good while.
    const std::string slow = teste::played_session(5, 2LL * 3600 * 1000).text;
    // The slow run is sent until the worker takes it; meanwhile short runs
    // keep coming, and one of them arrives while the worker is busy.
    std::atomic<bool> slow_done{false};
    std::thread sender([&] {
        int status = 503;
        while (status == 503)
            status = b.post(slow)->status;
        EXPECT_EQ(status, 201);
        slow_done = true;
    });
    bool refused = false;
    bool read_while_busy = false;
    while (!refused && !slow_done) {
        const auto res = b.post(committed() + "time 1\n");
        if (res->status == 503) {
            refused = true;
            EXPECT_EQ(res->get_header_value("Retry-After"), "2");
            read_while_busy = b.client().Get("/api/board")->status == 200;
        }
    }
    sender.join();
    EXPECT_TRUE(refused);
    EXPECT_TRUE(read_while_busy);
}

TEST(Board, LogsOneLinePerRequest) {
    Board b(no_rate_limit());
    b.post(committed());
    b.client().Get("/api/board?level=2");
    b.client().Get("/nowhere");
    // A line is written once its answer has gone.
    auto lines = b.log_lines();
    for (int i = 0; i < 200 && lines.size() < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        lines = b.log_lines();
    }
    ASSERT_EQ(lines.size(), 4u); // the constructor's /healthz first
    const std::regex line(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ 127\.0\.0\.1 (GET|POST) /\S* \d{3} \d+ \d+ms\n)");
    for (const auto& l : lines)
        EXPECT_TRUE(std::regex_match(l, line)) << l;
    // Each is written by the thread that answered, once its answer has gone:
    // in any order.
    for (const char* request : {"GET /healthz 200 ", "POST /api/runs 201 ",
                                "GET /api/board?level=2 200 ", "GET /nowhere 404 "})
        EXPECT_EQ(std::count_if(
                      lines.begin(), lines.end(),
                      [&](const std::string& l) { return l.find(request) != std::string::npos; }),
                  1)
            << request;
}

} // namespace

namespace {

std::size_t resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// A gzip member of `size` zeros: a few kilobytes that inflate to `size`.
std::string gzip_of_zeros(std::size_t size) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY), Z_OK);
    const std::string zeros(1 << 20, '\0');
    std::string out;
    char buffer[1 << 16];
    for (std::size_t done = 0; done < size; done += zeros.size()) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        z.avail_in = static_cast<uInt>(std::min(zeros.size(), size - done));
        const int flush = done + zeros.size() >= size ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, flush);
            out.append(buffer, sizeof buffer - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

constexpr std::size_t MEMORY_BUDGET = 64u << 20;

} // namespace

// Bodies are counted as they come, and inflated with a cap: each is refused
// the moment it passes its route's limit, and the server's memory stays
// within a budget.
TEST(Board, RefusesBodiesPastTheirLimitAsTheyCome) {
    Board b(no_rate_limit());
    const int port = b.port();
    const std::string bomb = gzip_of_zeros(std::size_t{256} << 20);
    ASSERT_LT(bomb.size(), 1u << 20);
    const std::string chunk(1 << 20, 'x');
    std::string chunked;
    for (int i = 0; i < 64; ++i)
        chunked += "100000\r\n" + chunk + "\r\n";
    const struct {
        const char* what;
        std::string request;
        const char* status_line;
    } cases[] = {
        {"a gzip bomb",
         "POST /api/runs HTTP/1.1\r\nHost: x\r\nContent-Type: text/plain\r\n"
         "Content-Encoding: gzip\r\nContent-Length: " +
             std::to_string(bomb.size()) + "\r\n\r\n" + bomb,
         "HTTP/1.1 413 "},
        {"64 MiB chunked",
         "POST /api/runs HTTP/1.1\r\nHost: x\r\nContent-Type: text/plain\r\n"
         "Transfer-Encoding: chunked\r\n\r\n" +
             chunked + "0\r\n\r\n",
         "HTTP/1.1 413 "},
        {"a body with no length where one is needed",
         "POST /api/runs HTTP/1.1\r\nHost: x\r\nContent-Type: text/plain\r\n\r\n", "HTTP/1.1 411 "},
    };
    const std::size_t before = resident_bytes();
    for (const auto& c : cases) {
        const std::string answer = teste::exchange(port, c.request, 1);
        EXPECT_TRUE(answer.starts_with(c.status_line)) << c.what << ": " << answer.substr(0, 200);
        EXPECT_NE(answer.find("\"error\""), std::string::npos) << c.what;
    }
    EXPECT_LT(resident_bytes(), before + MEMORY_BUDGET);
    EXPECT_EQ(b.client().Get("/healthz")->status, 200);
    // An identity encoding is no encoding.
    const auto plain =
        b.client().Post("/api/runs", {{"Content-Encoding", "identity"}}, committed(), "text/plain");
    EXPECT_EQ(plain->status, 201) << plain->body;
    EXPECT_EQ(b.total(), 2);
}

// A Range header of many overlapping ranges once had the server build an
// answer of hundreds of megabytes. One range is cut from a large file; more
// than one, or any on a small file, gets the whole with 200.
TEST(Board, CutsOneRangeFromALargeFileAndAnswersTheRestWhole) {
    teste::TempDir place;
    const std::string web = place.file("web");
    std::filesystem::create_directories(web);
    std::string big(3u << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 26);
    std::ofstream(web + "/orbitrix.css", std::ios::binary) << "body{}";
    std::ofstream(web + "/big.bin", std::ios::binary) << big;
    board::ServiceConfig config = no_rate_limit();
    config.web_dir = web;
    Board b(config);
    const std::string recording = committed();
    const json sent = json::parse(b.post(recording)->body);
    const std::string replay = sent["replay"];
    std::string many = "bytes=0-";
    for (int i = 0; i < 2000; ++i)
        many += ",0-";
    const struct {
        std::string path;
        std::string range;
        int status;
        std::string body;
        std::string content_range;
    } cases[] = {
        {"/static/big.bin", "bytes=0-9", 206, big.substr(0, 10), "bytes 0-9/3145728"},
        {"/static/big.bin", "bytes=-4", 206, big.substr(big.size() - 4),
         "bytes 3145724-3145727/3145728"},
        {"/static/big.bin", "bytes=3145728-", 416, "", "bytes */3145728"},
        {"/static/big.bin", many, 200, big, ""},
        {"/static/big.bin", "bytes=0-1,5-6", 200, big, ""},
        {replay, "bytes=0-9", 200, recording, ""},
        {replay, many, 200, recording, ""},
    };
    const std::size_t before = resident_bytes();
    for (int round = 0; round < 4; ++round)
        for (const auto& c : cases) {
            const auto got = b.client().Get(c.path.c_str(), {{"Range", c.range}});
            ASSERT_TRUE(got) << c.path;
            EXPECT_EQ(got->status, c.status) << c.path << " " << c.range.substr(0, 20);
            EXPECT_TRUE(got->body == c.body) << c.path << ": " << got->body.size() << " bytes";
            EXPECT_EQ(got->get_header_value("Content-Range"), c.content_range) << c.path;
        }
    EXPECT_LT(resident_bytes(), before + MEMORY_BUDGET);
}

// Headers past what any browser sends are refused, however they come.
TEST(Board, RefusesHeadersOverTheirLimitsAndGoesOnServing) {
    Board b(no_rate_limit());
    const auto lines = [](int count, std::size_t width) {
        std::string headers;
        for (int i = 0; i < count; ++i)
            headers += "X-" + std::to_string(i) + ": " + std::string(width, 'v') + "\r\n";
        return "GET /healthz HTTP/1.1\r\nHost: x\r\nConnection: close\r\n" + headers + "\r\n";
    };
    const struct {
        const char* what;
        std::string request;
        const char* status_line;
    } cases[] = {
        {"64 lines in all", lines(62, 10), "HTTP/1.1 200 "},
        {"65 lines", lines(63, 10), "HTTP/1.1 431 "},
        {"three lines of 3000 bytes", lines(3, 3000), "HTTP/1.1 431 "},
        {"300,000 lines", lines(300'000, 1), "HTTP/1.1 4"},
    };
    const std::size_t before = resident_bytes();
    for (const auto& c : cases) {
        const std::string answer = teste::exchange(b.port(), c.request, 1);
        EXPECT_TRUE(answer.starts_with(c.status_line)) << c.what << ": " << answer.substr(0, 200);
    }
    EXPECT_LT(resident_bytes(), before + MEMORY_BUDGET);
    EXPECT_EQ(b.client().Get("/healthz")->status, 200);
}

// A client that has the board's page asks again with its tag: 304 while
// no run changed it, the new page once one did; a recording is for good.
TEST(Board, RevalidatesPagesWithTheirTagsUntilARunChangesThem) {
    Board b(no_rate_limit());
    const json sent = json::parse(b.post(committed())->body);
    const std::string run_page = sent["page"];
    for (const std::string& path :
         {std::string("/"), std::string("/api/board"), run_page, "/api" + run_page}) {
        const auto first = b.client().Get(path.c_str(), {{"Accept-Encoding", "gzip"}});
        const std::string tag = first->get_header_value("ETag");
        ASSERT_FALSE(tag.empty()) << path;
        EXPECT_EQ(first->get_header_value("Cache-Control"), "no-cache") << path;
        const auto again =
            b.client().Get(path.c_str(), {{"If-None-Match", tag}, {"Accept-Encoding", "gzip"}});
        EXPECT_EQ(again->status, 304) << path;
        EXPECT_TRUE(again->body.empty()) << path;
    }
    const auto board = b.client().Get("/api/board");
    EXPECT_EQ(b.post(committed() + "time 1\n")->status, 201);
    const auto changed =
        b.client().Get("/api/board", {{"If-None-Match", board->get_header_value("ETag")}});
    EXPECT_EQ(changed->status, 200);
    EXPECT_EQ(json::parse(changed->body)["total"], 4);
    const auto replay = b.client().Get(sent["replay"].get<std::string>().c_str());
    EXPECT_EQ(replay->get_header_value("Cache-Control"), "public, max-age=31536000, immutable");
    EXPECT_EQ(b.client().Get("/nowhere")->get_header_value("Cache-Control"), "no-store");
}

// A board is backed up while it serves, with SQLite's VACUUM INTO from a
// connection of its own, and a server started on the copy serves every run
// the copy took, byte for byte.
TEST(Board, IsBackedUpWhileItServesAndTheCopyServes) {
    teste::expect_backed_up_while_serving(no_rate_limit(), [](const Board& live) {
        const std::string copy = live.dir.file("backup.sqlite3");
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(live.dir.file("board.sqlite3").c_str(), &db,
                                  SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        sqlite3_busy_timeout(db, 10'000);
        char* error = nullptr;
        const int backed =
            sqlite3_exec(db, ("VACUUM INTO '" + copy + "'").c_str(), nullptr, nullptr, &error);
        EXPECT_EQ(backed, SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        return copy;
    });
}
