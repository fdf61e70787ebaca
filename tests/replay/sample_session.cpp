#include "sample_session.hpp"

#include "game/sessao.hpp"
#include "replay/recording_platform.hpp"

#include <sstream>

namespace sample {

void script_session(console::MemoryPlatform& platform) {
    platform.set_time(1'765'000'000);
    // Nothing reaches play before the first game is long lost.
    constexpr std::int64_t later = 20LL * 60 * 1000;
    platform.push_keys("1Ana\r4");
    platform.push_key('1', later);
    platform.push_keys("1Box", later);
    platform.push_key(8, later);
    platform.push_keys("b\r1", later);
    platform.push_keys("dd  aw", later);
    platform.push_key(224, later);
    platform.push_key(72, later);
    platform.push_keys(" s px d", later);
    platform.push_key(27, later);
}

std::string recorded_session() {
    console::MemoryConsole con;
    script_session(con.platform);
    std::ostringstream out;
    replay::RecordingPlatform recorder(con.platform, out);
    const console::Installation installed(con.screen, recorder);
    game::sessao(recorder);
    return out.str();
}

} // namespace sample
