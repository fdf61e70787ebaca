// Writes the sample session's recording to standard output:
//   replay_sample > tests/data/session.replay
#include "sample_session.hpp"

#include <cstdio>

int main() {
    const std::string text = sample::recorded_session();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
