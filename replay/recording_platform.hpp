#pragma once
// Wraps the platform a session runs on and writes down everything the
// session takes from it (the clock's answers and every key, placed by the
// keyboard tests that found none before it) and how each game ended. Each
// line reaches the file as it happens, so a session ended by anything, a
// crash included, leaves a recording whole up to its last event.
//
// Names and the completion answer are read key by key, so their keys,
// edits included, are all a line needs.

#include "console/forwarding_platform.hpp"
#include "game/resultado.hpp"
#include "replay/recording.hpp"

#include <cstdint>
#include <ostream>

namespace replay {

class RecordingPlatform : public console::ForwardingPlatform, public game::Observador {
  public:
    // Writes the header at once.
    RecordingPlatform(console::Platform& inner, std::ostream& out);

    bool kbhit() override;
    int getch() override;
    std::int64_t time() override;

    void partida_termina(const game::Resultado& resultado) override;

  private:
    void write(const Event& event);

    std::ostream& out_;
    std::int64_t misses_ = 0;
};

} // namespace replay
