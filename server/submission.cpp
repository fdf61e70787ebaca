#include "server/submission.hpp"

#include "console/glyphs.hpp"
#include "replay/line_format.hpp"
#include "replay/recording_file.hpp"
#include "replay/result_text.hpp"
#include "screens/niveis.hpp"
#include "server/shown_text.hpp"

#include <algorithm>

namespace board {
namespace {

// Events start on the recording's third line, one a line.
constexpr int FIRST_EVENT_LINE = 3;

std::string at_line(int line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

int line_of_offset(std::string_view body, std::size_t offset) {
    return 1 + static_cast<int>(std::count(body.begin(), body.begin() + offset, '\n'));
}

// The level a game starts at is the key that chose it, '1' to '4'; it
// rises with the points from there, one a stage.
int level_of(int code) {
    return code >= '1' && code <= '9' ? code - '0' : 0;
}

constexpr int HIGHEST_START_LEVEL = 4;

// Each character of a name is one cell of the game's screen, and at most
// 3 bytes of UTF-8.
constexpr std::size_t MOST_NAME_BYTES = 3 * screens::NOME_MAXIMO;

// Why a name the game held cannot go on the board, checked before any
// replay: the prompt takes no control byte and no more than fits its row.
std::optional<std::string> unfit_name(std::string_view code_page) {
    if (code_page.size() > static_cast<std::size_t>(screens::NOME_MAXIMO))
        return "is longer than the game's prompt takes (" + std::to_string(screens::NOME_MAXIMO) +
               " letters)";
    for (const char ch : code_page)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f)
            return "holds a control character, which the game's prompt does not take";
    return unshowable(console::text_utf8(code_page), MOST_NAME_BYTES);
}

} // namespace

bool showable_name(std::string_view text) {
    return !unshowable(text, text.size());
}

std::variant<replay::Recording, Refused> screen(std::string_view body, const Limits& limits) {
    if (body.size() > limits.max_body)
        return Refused{413, "the recording is larger than " + std::to_string(limits.max_body) +
                                " bytes"};
    // The same session in other line ends would be other bytes, stored twice.
    if (const auto cr = body.find('\r'); cr != std::string_view::npos)
        return Refused{400, at_line(line_of_offset(body, cr),
                                    "a carriage return: recordings end their lines with LF alone")};
    if (const auto nul = body.find('\0'); nul != std::string_view::npos)
        return Refused{400, at_line(line_of_offset(body, nul), "a NUL byte")};
    auto read = replay::read_recording(body);
    if (const auto* refusal = std::get_if<replay::Refusal>(&read))
        return Refused{400, at_line(refusal->line, refusal->what)};
    auto& recording = std::get<replay::Recording>(read);
    if (recording.cut_short)
        return Refused{400, at_line(recording.last_line + 1,
                                    "the last line has no line break: the file was cut short")};
    // Checked first: it goes into the refusal below, the store and the page.
    if (const auto why = unshowable(recording.made_by, limits.max_program))
        return Refused{400, at_line(2, "the program line " + *why)};
    if (!replay::replays_identically(recording.made_by))
        return Refused{422, "recorded by orbitrix " + recording.made_by +
                                ", which this server does not replay identically (it replays " +
                                replay::this_program() + ")"};
    for (std::size_t i = 0; i < recording.events.size(); ++i)
        if (const auto* game = std::get_if<replay::GameEnded>(&recording.events[i]))
            if (const auto why = unfit_name(game->result.nome))
                return Refused{
                    400, at_line(FIRST_EVENT_LINE + static_cast<int>(i), "a game's name " + *why)};
    if (replay::least_session_ms(recording) > limits.session_ms)
        return Refused{422, "over the replay budget: its keys alone ask for more of the "
                            "session's own time than the server replays"};
    return std::move(recording);
}

std::variant<std::vector<JudgedGame>, Refused>
judge_games(const replay::Recording& recording, const Limits& limits,
            std::function<std::int64_t()> cpu_clock) {
    replay::ReplayOptions options;
    options.budget = replay::Budget{limits.session_ms, limits.cpu_ns, std::move(cpu_clock)};
    const replay::Verdict verdict = replay::check_recording(recording, options);
    if (verdict.outcome != replay::Verdict::Outcome::confirmed)
        return Refused{422, verdict.line > 0 ? at_line(verdict.line, verdict.what) : verdict.what};
    if (verdict.games.empty())
        return Refused{422, "the recording holds no game"};
    std::vector<JudgedGame> games;
    for (std::size_t i = 0; i < verdict.games.size(); ++i) {
        const replay::ReplayedGame& g = verdict.games[i];
        const std::string number = "game " + std::to_string(i + 1);
        if (const auto why = unfit_name(g.result.nome))
            return Refused{422, number + ": its name " + *why};
        const int start = level_of(g.result.nivel_inicial);
        const int end = level_of(g.result.nivel);
        if (start == 0 || start > HIGHEST_START_LEVEL || end == 0)
            return Refused{422, number + ": played at a level the board does not rank"};
        // The board shows the name as the game did, in UTF-8.
        games.push_back(JudgedGame{Game{console::text_utf8(g.result.nome),
                                        start,
                                        end,
                                        g.result.pontos,
                                        g.result.vidas,
                                        std::string(replay::ending_text(g.result.desfecho)),
                                        g.frames,
                                        Kind::open,
                                        {}},
                                   g.seed, g.ms});
    }
    return games;
}

std::variant<std::vector<Game>, Refused> judge(const replay::Recording& recording,
                                               const Limits& limits,
                                               std::function<std::int64_t()> cpu_clock) {
    auto judged = judge_games(recording, limits, std::move(cpu_clock));
    if (auto* refused = std::get_if<Refused>(&judged))
        return std::move(*refused);
    std::vector<Game> games;
    for (JudgedGame& g : std::get<std::vector<JudgedGame>>(judged))
        games.push_back(std::move(g.game));
    return games;
}

} // namespace board
