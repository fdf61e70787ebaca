#pragma once
// Keeps each game of a session in memory as it ends; nothing is written
// while the session runs.

#include "app/scores/entry.hpp"
#include "console/platform.hpp"
#include "game/resultado.hpp"

#include <vector>

namespace scores {

Entry entry_of(const game::Resultado& result, std::int64_t when);

class Collector : public game::Observador {
  public:
    // The clock must be the machine's own platform, never a decorator that
    // answers time() with a seed.
    Collector(console::Platform& clock, std::vector<Entry>& played)
        : clock_(clock), played_(played) {}

    void partida_termina(const game::Resultado& result) override {
        played_.push_back(entry_of(result, clock_.time()));
    }

  private:
    console::Platform& clock_;
    std::vector<Entry>& played_;
};

} // namespace scores
