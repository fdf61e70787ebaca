// --verify's work on a ten-minute session: the recording read and the
// session played through on the in-memory console.
#include "replay/verify.hpp"
#include "replay/recording_file.hpp"
#include "support/played_session.hpp"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

void BM_VerifyTenMinuteSession(benchmark::State& state) {
    const teste::RecordedSession session = teste::played_session(2026, 10LL * 60 * 1000);
    int status = 0;
    for (auto _ : state) {
        const auto read = replay::read_recording(session.text);
        std::ostringstream out;
        std::ostringstream err;
        status |= replay::verify_recording(std::get<replay::Recording>(read), "bench", out, err);
    }
    if (status != 0)
        state.SkipWithError("the session did not verify");
    state.counters["minutes"] = session.minutes;
    state.counters["games"] = session.games;
    state.counters["keys"] = session.keys;
    state.counters["bytes"] = static_cast<double>(session.text.size());
}
BENCHMARK(BM_VerifyTenMinuteSession)->Unit(benchmark::kMillisecond);

} // namespace
