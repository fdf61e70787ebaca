// --export's work on the ten-minute session: the recording read, replayed
// on the backend's presenter and written as a cast; beside it, the bytes the
// terminal backend itself sends replaying the same recording.
#include "console/ansi/screen_modes.hpp"
#include "pipe_game.hpp"
#include "replay/asciicast.hpp"
#include "replay/recording_file.hpp"
#include "support/played_session.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

// What the cast's output events write, one after the other.
std::string output_of(const std::string& cast) {
    std::istringstream lines(cast);
    std::string line;
    std::getline(lines, line); // the header
    std::string out;
    while (std::getline(lines, line)) {
        const auto event = nlohmann::json::parse(line);
        if (event[1] == "o")
            out += event[2].get<std::string>();
    }
    return out;
}

void BM_ExportTenMinuteSession(benchmark::State& state) {
    const teste::RecordedSession session = teste::played_session(2026, 10LL * 60 * 1000);
    std::string cast;
    for (auto _ : state) {
        const auto read = replay::read_recording(session.text);
        auto made = replay::asciicast(std::get<replay::Recording>(read), "bench");
        if (!std::holds_alternative<std::string>(made)) {
            state.SkipWithError("the session did not verify");
            return;
        }
        cast = std::get<std::string>(std::move(made));
    }
    const std::string terminal = bench::replay_into_a_pipe(
        std::get<replay::Recording>(replay::read_recording(session.text)));
    const bool same = output_of(cast) + std::string(console::ansi::leave_sequence()) == terminal;
    state.counters["minutes"] = session.minutes;
    state.counters["recording_bytes"] = static_cast<double>(session.text.size());
    state.counters["cast_bytes"] = static_cast<double>(cast.size());
    state.counters["terminal_bytes"] = static_cast<double>(terminal.size());
    state.counters["same_bytes"] = same ? 1 : 0;
}
BENCHMARK(BM_ExportTenMinuteSession)->Unit(benchmark::kMillisecond);

} // namespace
