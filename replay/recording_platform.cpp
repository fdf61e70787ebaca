#include "replay/recording_platform.hpp"

#include "replay/line_format.hpp"

namespace replay {

RecordingPlatform::RecordingPlatform(console::Platform& inner, std::ostream& out)
    : ForwardingPlatform(inner), out_(out) {
    out_ << header_lines() << std::flush;
}

bool RecordingPlatform::kbhit() {
    const bool waiting = inner().kbhit();
    if (!waiting)
        ++misses_;
    return waiting;
}

int RecordingPlatform::getch() {
    const int code = inner().getch();
    write(KeyRead{code, misses_});
    misses_ = 0;
    return code;
}

std::int64_t RecordingPlatform::time() {
    const std::int64_t seconds = inner().time();
    write(TimeRead{seconds});
    return seconds;
}

void RecordingPlatform::partida_termina(const game::Resultado& resultado) {
    write(GameEnded{resultado});
}

void RecordingPlatform::write(const Event& event) {
    out_ << line_of(event) << std::flush;
}

} // namespace replay
