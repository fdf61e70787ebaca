#pragma once
// Watches a game frame by frame on the in-memory console: inside the
// playing area the screen shows what the field holds, in the colour the
// game gives it; outside it only the status values change; the frame's
// tones and sleeps are those of what happened in it. Where the game
// knowingly leaves a change unpainted (an object put where it is not drawn
// yet, a hit that erases without drawing, the burst's blind wipe), the
// disagreement is accepted when it appears for one of those reasons and for
// as long as neither the cell nor the field changes again.
//
// A frame's check looks at the cells the frame wrote or whose field cell
// changed; every other cell keeps the verdict it had.

#include "console/memory_console.hpp"
#include "game/partida.hpp"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace teste {

// What the watch needs to know of a frame before it runs.
struct BeforeFrame {
    game::Campo campo;
    std::int32_t pontos = 0;
    std::int32_t especial = 0;
    std::int32_t vidas = 0;
    std::int32_t bipe = 0;
    std::int32_t etapa = 0;
    std::int32_t nivel = 0;
    std::int32_t jogadorx = 0;
    std::int32_t jogadory = 0;
    std::size_t keys_left = 0;
    std::size_t tones = 0;
    std::size_t sleeps = 0;
    std::int64_t now_ms = 0;
};

// How often each accepted disagreement and each event was met, to show the
// games reached them.
struct Met {
    int hidden_meteors = 0;
    int unseen_enemy_shots = 0;
    int fresh_shots = 0;
    int burst_blanks = 0;
    int shots_through_ships = 0;
    int edge_ships = 0;
    int edge_bursts = 0;
    int detonations = 0;
    int lives_won = 0;
    int lives_lost = 0;
    int fire_tones = 0;
    int charge_gained = 0; // from ships and meteors shot down

    Met& operator+=(const Met& other);
};

struct Fault {
    std::string what; // empty when all is well
    int column = 0;
    int row = 0;
};

// The field before and after the frame and the screen after it, around a
// cell, as rows of numbers: what a failing frame is read from.
std::string surroundings(const BeforeFrame& before, const game::Partida& p,
                         const console::MemoryScreen& screen, int column, int row);

class FieldWatch {
  public:
    using Position = std::pair<int, int>; // (column, row) from (1, 1)

    // Right after the game's set-up: the frame and the panel as drawn then.
    FieldWatch(const console::MemoryScreen& screen, const game::Partida& p);

    BeforeFrame before(const game::Partida& p, const console::MemoryPlatform& platform) const;
    // After the frame, given the cells it wrote: the first fault found.
    Fault check(const BeforeFrame& before, const game::Partida& p,
                const console::MemoryPlatform& platform, const std::vector<Position>& written);

    const Met& met() const { return met_; }

  private:
    template <class T> using PerCell = std::array<T, game::COLUNAS * game::LINHAS>;
    struct AcceptedCell {
        bool accepted = false;
        console::Cell shown;
        std::uint8_t held = 0;
    };
    struct Frame {
        const BeforeFrame& before;
        const game::Partida& p;
        int key_read;
        std::set<int> detonations;
    };

    std::vector<Position> cells_to_look_at(const BeforeFrame& before, const game::Partida& p,
                                           const std::vector<Position>& written);
    std::string check_area(int c, int r, const Frame& frame);
    std::string check_outside(int c, int r, const Frame& frame);
    std::string check_sounds_and_time(const Frame& frame, const console::MemoryPlatform& platform);
    bool accept(int c, int r, const Frame& frame);

    const console::MemoryScreen& screen_;
    bool first_frame_ = true;
    // Which field cell each byte of a Campo holds, to compare two fields
    // as bytes without knowing their layout.
    PerCell<Position> cell_of_byte_{};
    PerCell<console::Cell> drawn_at_start_{};
    PerCell<AcceptedCell> accepted_cells_{};
    PerCell<int> looked_at_in_frame_{};
    int frame_number_ = 0;
    // Rows of column 1 that a ship has stood on, and the cells of the
    // frame that a burst blanked.
    std::array<bool, game::LINHAS + 1> edge_rows_with_ships_{};
    PerCell<bool> burst_edge_{};
    Met met_;
};

} // namespace teste
