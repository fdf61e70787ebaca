// One frame on a busy field, and the terminal backend's flush of it.
#include "busy_field.hpp"
#include "console/ansi/frame_renderer.hpp"
#include "console/memory_console.hpp"
#include "console/posix/terminal_platform.hpp"
#include "game/quadro.hpp"

#include <benchmark/benchmark.h>

#include <limits>
#include <optional>

namespace {

constexpr unsigned field_seed = 2024;

// A console whose virtual clock never runs out, however many frames pass.
struct BusyConsole {
    console::MemoryConsole con;
    game::Partida start;
    BusyConsole() {
        con.platform.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
        start = bench::busy_game(field_seed);
    }
};

// All 22 phases from the same busy field each time, a space typed so the
// keyboard phase and the two after it run too. The in-memory console's
// sleep and tones take no time.
void BM_FrameOnBusyField(benchmark::State& state) {
    BusyConsole busy;
    game::Partida p;
    for (auto _ : state) {
        p = busy.start;
        busy.con.platform.push_key(' ');
        benchmark::DoNotOptimize(game::quadro(p));
        busy.con.platform.clear_logs();
    }
}
BENCHMARK(BM_FrameOnBusyField);

// The same, restoring the field only: what the frame above spends on that.
void BM_FieldRestore(benchmark::State& state) {
    BusyConsole busy;
    game::Partida p;
    for (auto _ : state) {
        p = busy.start;
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FieldRestore);

// The backend's flush of that frame's changes: the window read out of the
// model, diffed with what the terminal shows and encoded. It goes back and
// forth between the screens before and after the frame, so every flush
// has the same changes to send.
void BM_FlushOfBusyFrame(benchmark::State& state) {
    BusyConsole busy;
    const console::MemoryScreen before = busy.con.screen;
    game::Partida p = busy.start;
    busy.con.platform.push_key(' ');
    game::quadro(p);
    const console::MemoryScreen after = busy.con.screen;

    using namespace console::posix;
    using namespace console::ansi;
    TerminalPicture shown = unknown_picture(80, 50);
    render_frame(shown, window_grid(before), std::nullopt);
    std::size_t bytes = 0;
    std::size_t changed = 0;
    bool forth = true;
    {
        const Grid a = window_grid(before);
        const Grid b = window_grid(after);
        for (std::size_t i = 0; i < a.cells.size(); ++i)
            changed += a.cells[i] == b.cells[i] ? 0 : 1;
    }
    for (auto _ : state) {
        const std::string out = render_frame(shown, window_grid(forth ? after : before), {});
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
        forth = !forth;
    }
    state.counters["changed_cells"] = static_cast<double>(changed);
    state.counters["bytes"] =
        benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FlushOfBusyFrame);

// For scale: a whole busy screen sent to a terminal that shows nothing
// known, as after a start, a resume or a resize.
void BM_FlushOfWholeScreen(benchmark::State& state) {
    BusyConsole busy;
    using namespace console::posix;
    using namespace console::ansi;
    std::size_t bytes = 0;
    for (auto _ : state) {
        TerminalPicture shown = unknown_picture(80, 50);
        const std::string out = render_frame(shown, window_grid(busy.con.screen), {});
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] =
        benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FlushOfWholeScreen);

} // namespace
