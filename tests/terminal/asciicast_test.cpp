// The cast of a whole seeded session, read back as a JSON parser and as a
// terminal read it, against the in-memory console --verify plays on.
#include "console/ansi/ansi_colours.hpp"
#include "console/ansi/screen_modes.hpp"
#include "console/forwarding_platform.hpp"
#include "console/glyphs.hpp"
#include "console/memory_console.hpp"
#include "replay/asciicast.hpp"
#include "replay/check.hpp"
#include "replay/line_format.hpp"
#include "replay/recording_file.hpp"
#include "replay/verify.hpp"
#include "support/played_session.hpp"
#include "vterm_screen.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <sstream>

namespace {

using nlohmann::json;

struct Cast {
    json header;
    std::vector<json> events;
};

// Every line must be a JSON value of its own.
Cast parsed(const std::string& text) {
    Cast cast;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        json value;
        EXPECT_NO_THROW(value = json::parse(line)) << "line " << number << ": " << line;
        if (number == 1)
            cast.header = value;
        else
            cast.events.push_back(value);
    }
    return cast;
}

std::int64_t ms_of(const json& seconds) {
    return std::llround(seconds.get<double>() * 1000);
}

// Three games in three minutes, one of them rising a level: enough to see
// every kind of screen and marker, short enough to replay a few times under
// the sanitizers.
replay::Recording session_recording() {
    return std::get<replay::Recording>(
        replay::read_recording(teste::played_session(67, 3LL * 60 * 1000).text));
}

std::string cast_of(const replay::Recording& recording) {
    auto cast = replay::asciicast(recording, "session");
    if (const auto* refusal = std::get_if<replay::CastRefusal>(&cast))
        ADD_FAILURE() << refusal->message;
    return std::get<std::string>(cast);
}

// --verify's replay on the in-memory console, with the window as it stood
// at each wait point: the picture a terminal has been sent by then.
struct Moment {
    console::CellScreen screen;
    std::int64_t at_ms = 0;
    int wait_ms = 0;
};

class WaitPoints : public console::ForwardingPlatform {
  public:
    WaitPoints(console::MemoryConsole& con) : ForwardingPlatform(con.platform), con_(con) {
        con.platform.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
    }
    void sleep(int ms) override {
        last = Moment{con_.screen, con_.platform.now_ms(), ms};
        inner().sleep(ms);
    }
    void beep(int hz, int ms) override {
        last = Moment{con_.screen, con_.platform.now_ms(), ms};
        inner().beep(hz, ms);
    }
    Moment last;

  private:
    console::MemoryConsole& con_;
};

struct GameEnds : game::Observador {
    explicit GameEnds(const WaitPoints& waits) : waits(waits) {}
    const WaitPoints& waits;
    std::vector<Moment> moments;
    std::vector<game::Resultado> results;
    void partida_termina(const game::Resultado& r) override {
        moments.push_back(waits.last);
        results.push_back(r);
    }
};

TEST(Asciicast, ATerminalFedTheCastShowsWhatVerifyDrewAtEachGamesEnd) {
    const replay::Recording recording = session_recording();
    const Cast cast = parsed(cast_of(recording));

    console::MemoryConsole con;
    WaitPoints waits(con);
    GameEnds ends(waits);
    const replay::Verdict verdict =
        replay::check_recording(recording, {replay::Stage{con.screen, waits}, &ends, {}});
    ASSERT_EQ(verdict.outcome, replay::Verdict::Outcome::confirmed) << verdict.what;
    ASSERT_GE(verdict.games.size(), 3u);

    terminal_test::VtermScreen vt(replay::CAST_COLUMNS, replay::CAST_ROWS);
    std::size_t next = 0;
    for (std::size_t game = 0; game < ends.moments.size(); ++game) {
        const Moment& end = ends.moments[game];
        // A later wait point could share the moment's time only if the
        // moment's own wait took none.
        ASSERT_GT(end.wait_ms, 0) << "game " << game + 1;
        for (; next < cast.events.size() && ms_of(cast.events[next][0]) <= end.at_ms; ++next)
            if (cast.events[next][1] == "o")
                vt.feed(cast.events[next][2].get<std::string>());
        int wrong = 0;
        for (int y = 0; y < replay::CAST_ROWS; ++y)
            for (int x = 0; x < replay::CAST_COLUMNS; ++x) {
                const console::Cell want = end.screen.cell(x, y);
                const terminal_test::SeenCell seen = vt.cell(x, y);
                const bool same =
                    seen.ch == console::glyph_unicode(want.ch) &&
                    seen.foreground == console::ansi::ansi_index(want.attr & 15) &&
                    seen.background == console::ansi::ansi_index((want.attr >> 4) & 15);
                if (!same && ++wrong <= 5)
                    ADD_FAILURE() << "game " << game + 1 << " at " << end.at_ms << " ms, cell ("
                                  << x << "," << y << "): shows U+" << std::hex
                                  << static_cast<unsigned>(seen.ch) << std::dec << " in "
                                  << seen.foreground << "/" << seen.background << ", drawn "
                                  << int{want.ch} << " in " << want.attr;
            }
        EXPECT_EQ(wrong, 0) << "game " << game + 1;
    }
}

std::vector<std::string> split(const std::string& text, char by) {
    std::vector<std::string> parts(1);
    for (const char c : text)
        if (c == by)
            parts.emplace_back();
        else
            parts.back() += c;
    return parts;
}

TEST(Asciicast, HeaderTimesAndMarkersFollowTheSession) {
    const replay::Recording recording = session_recording();
    const Cast cast = parsed(cast_of(recording));
    console::MemoryConsole con;
    WaitPoints waits(con);
    GameEnds ends(waits);
    replay::check_recording(recording, {replay::Stage{con.screen, waits}, &ends, {}});

    const json& h = cast.header;
    EXPECT_EQ(h["version"], 2);
    EXPECT_EQ(h["width"], 80);
    EXPECT_EQ(h["height"], 50);
    EXPECT_EQ(h["timestamp"], std::get<replay::TimeRead>(recording.events.front()).seconds);
    EXPECT_EQ(ms_of(h["duration"]), con.platform.now_ms());
    EXPECT_EQ(h["env"]["TERM"], "xterm-256color");
    EXPECT_EQ(h["theme"]["fg"], "#aaaaaa");
    EXPECT_EQ(h["theme"]["bg"], "#000000");
    // In the terminal's order: red is the console's 4, bright blue its 9.
    const auto palette = split(h["theme"]["palette"].get<std::string>(), ':');
    ASSERT_EQ(palette.size(), 16u);
    EXPECT_EQ(palette[1], "#aa0000");
    EXPECT_EQ(palette[3], "#aa5500");
    EXPECT_EQ(palette[12], "#5555ff");
    for (const game::Resultado& r : ends.results)
        EXPECT_NE(h["title"].get<std::string>().find(r.nome + ": " + std::to_string(r.pontos) +
                                                     " pontos"),
                  std::string::npos)
            << h["title"];

    ASSERT_FALSE(cast.events.empty());
    EXPECT_TRUE(
        cast.events.front()[2].get<std::string>().starts_with(console::ansi::enter_sequence()));
    std::int64_t before = 0;
    std::vector<std::string> markers;
    for (const json& event : cast.events) {
        ASSERT_EQ(event.size(), 3u);
        EXPECT_GE(ms_of(event[0]), before);
        before = ms_of(event[0]);
        EXPECT_TRUE(event[1] == "o" || event[1] == "m") << event;
        if (event[1] == "m")
            markers.push_back(event[2]);
    }
    EXPECT_LE(before, ms_of(h["duration"]));

    // Each game's start, then each level it rose to, one at a time.
    std::vector<std::string> expected;
    for (std::size_t g = 0; g < ends.results.size(); ++g) {
        const game::Resultado& r = ends.results[g];
        for (int level = r.nivel_inicial; level <= r.nivel; ++level)
            expected.push_back("Partida " + std::to_string(g + 1) + ": " + r.nome + ", nivel " +
                               replay::level_text(level));
    }
    EXPECT_GT(expected.size(), ends.results.size()) << "no level rose in the session";
    EXPECT_EQ(markers, expected);
}

TEST(Asciicast, ARecordingThatDoesNotReplayAsRecordedIsRefusedAsVerifyRefusesIt) {
    replay::Recording edited = session_recording();
    for (replay::Event& event : edited.events)
        if (auto* game = std::get_if<replay::GameEnded>(&event)) {
            game->result.pontos += 10;
            break;
        }
    replay::Recording cut = session_recording();
    cut.events.resize(cut.events.size() / 2);

    for (const replay::Recording* recording : {&edited, &cut}) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(replay::verify_recording(*recording, "x.replay", out, err), 1);
        auto cast = replay::asciicast(*recording, "x.replay");
        ASSERT_TRUE(std::holds_alternative<replay::CastRefusal>(cast));
        EXPECT_EQ(std::get<replay::CastRefusal>(cast).status, 1);
        EXPECT_EQ(std::get<replay::CastRefusal>(cast).message, err.str());
    }
}

} // namespace
