#include "field_watch.hpp"

#include "../game/campo_pintado.hpp"

#include <algorithm>
#include <sstream>
#include <type_traits>

namespace soak {
namespace {

using namespace game;

bool in_area(int c, int r) {
    return c >= 2 && c <= 59 && r >= 2 && r <= 48;
}

// Printed every frame: name, lives, level, the special shot's mark, score;
// and the status line the pause rewrites.
bool status_value(int c, int r) {
    return (r == 3 && c >= 69 && c <= 79) || (r == 5 && c >= 72 && c <= 79) ||
           (r == 7 && c >= 70 && c <= 71) || (r == 9 && c == 78) ||
           (r == 11 && c >= 71 && c <= 79) || (r == 16 && c >= 71 && c <= 78);
}

std::size_t index(int c, int r) {
    return static_cast<std::size_t>((r - 1) * COLUNAS + (c - 1));
}

std::string where(int c, int r) {
    std::ostringstream out;
    out << " at (" << c << ", " << r << ")";
    return out.str();
}

// A special shot on row 8 when a frame starts detonates in it.
std::set<int> detonation_columns(const Campo& campo) {
    std::set<int> columns;
    for (int c = 1; c <= 58; ++c)
        if (campo.at(c, 8) == ESPECIAL)
            columns.insert(c);
    return columns;
}

bool in_burst(int c, int r, const std::set<int>& detonations) {
    if (r < 7 || r > 9)
        return false;
    for (const int d : detonations)
        if (c >= d - 1 && c <= d + 1)
            return true;
    return false;
}

} // namespace

std::string surroundings(const BeforeFrame& before, const Partida& p,
                         const console::MemoryScreen& screen, int column, int row) {
    std::ostringstream out;
    out << "field before | field after | screen after, columns " << column - 3 << " to "
        << column + 3 << ", player at (" << p.jogadorx << ", " << p.jogadory << "), key " << p.tecla
        << "\n";
    for (int r = std::max(1, row - 3); r <= std::min(LINHAS, row + 3); ++r) {
        out << "row " << r << ":";
        for (const Campo* campo : {&before.campo, &p.campo}) {
            for (int c = std::max(0, column - 3); c <= std::min(COLUNAS - 1, column + 3); ++c)
                out << ' ' << int{campo->at(c, r)};
            out << " |";
        }
        for (int c = std::max(1, column - 3); c <= std::min(COLUNAS, column + 3); ++c)
            out << ' ' << int{screen.at(c, r).ch};
        out << "\n";
    }
    return out.str();
}

FieldWatch::FieldWatch(const console::MemoryScreen& screen, const Partida& p) : screen_(screen) {
    static_assert(sizeof(Campo) == COLUNAS * LINHAS && std::is_trivially_copyable_v<Campo>);
    Campo columns;
    Campo rows;
    for (int c = 0; c < COLUNAS; ++c)
        for (int r = 0; r < LINHAS; ++r) {
            columns.set(c, r, static_cast<std::uint8_t>(c));
            rows.set(c, r, static_cast<std::uint8_t>(r));
        }
    const auto* column_bytes = reinterpret_cast<const std::uint8_t*>(&columns);
    const auto* row_bytes = reinterpret_cast<const std::uint8_t*>(&rows);
    for (std::size_t i = 0; i < sizeof(Campo); ++i)
        cell_of_byte_[i] = {column_bytes[i], row_bytes[i]};

    for (int r = 1; r <= LINHAS; ++r)
        for (int c = 1; c <= COLUNAS; ++c)
            drawn_at_start_[index(c, r)] = screen.at(c, r);
    for (int r = 1; r <= LINHAS; ++r)
        if (p.campo.at(1, r) == NAVE)
            edge_rows_with_ships_[r] = true;
}

BeforeFrame FieldWatch::before(const Partida& p, const console::MemoryPlatform& platform) const {
    return BeforeFrame{p.campo, p.pontos, p.jogadorx, p.jogadory, platform.keys_left()};
}

std::vector<FieldWatch::Position>
FieldWatch::cells_to_look_at(const BeforeFrame& before, const Partida& p,
                             const std::vector<Position>& written) {
    ++frame_number_;
    std::vector<Position> cells;
    const auto add = [&](int c, int r) {
        if (c < 1 || r < 1 || c > COLUNAS || r > LINHAS)
            return;
        int& stamp = looked_at_in_frame_[index(c, r)];
        if (stamp == frame_number_)
            return;
        stamp = frame_number_;
        cells.emplace_back(c, r);
    };
    if (first_frame_) {
        first_frame_ = false;
        for (int r = 1; r <= LINHAS; ++r)
            for (int c = 1; c <= COLUNAS; ++c)
                add(c, r);
        return cells;
    }
    for (const auto& [c, r] : written)
        add(c, r);
    const auto* was = reinterpret_cast<const std::uint8_t*>(&before.campo);
    const auto* now = reinterpret_cast<const std::uint8_t*>(&p.campo);
    for (std::size_t i = 0; i < sizeof(Campo); ++i)
        if (was[i] != now[i])
            add(cell_of_byte_[i].first, cell_of_byte_[i].second);
    return cells;
}

Fault FieldWatch::check(const BeforeFrame& before, const Partida& p,
                        const console::MemoryPlatform& platform,
                        const std::vector<Position>& written) {
    const Frame frame{before, p, platform.keys_left() < before.keys_left ? p.tecla : -1,
                      detonation_columns(before.campo)};
    for (int r = 1; r <= LINHAS; ++r)
        if (p.campo.at(1, r) == NAVE)
            edge_rows_with_ships_[r] = true;
    for (const auto& [c, r] : cells_to_look_at(before, p, written)) {
        std::string fault = in_area(c, r) ? check_area(c, r, frame) : check_outside(c, r, frame);
        if (!fault.empty())
            return Fault{fault, c, r};
    }
    if (p.pontos < before.pontos)
        return Fault{"the score went down"};
    if (screen_.attribute() != teste::BRANCO)
        return Fault{"the frame left a colour other than white in force"};
    return {};
}

std::string FieldWatch::check_area(int c, int r, const Frame& frame) {
    const console::Cell shown = screen_.at(c, r);
    if (shown.attr >= 16)
        return "a background colour" + where(c, r);
    const std::uint8_t held = frame.p.campo.at(c, r);
    AcceptedCell& earlier = accepted_cells_[index(c, r)];
    if (shown.ch == teste::glifo(held)) {
        earlier.accepted = false;
        return {};
    }
    if (earlier.accepted && earlier.shown == shown && earlier.held == held)
        return {};
    if (!accept(c, r, frame)) {
        std::ostringstream out;
        out << "the screen shows byte " << int{shown.ch} << " where the field holds " << int{held}
            << where(c, r);
        return out.str();
    }
    earlier = AcceptedCell{true, shown, held};
    return {};
}

bool FieldWatch::accept(int c, int r, const Frame& frame) {
    const Partida& p = frame.p;
    const BeforeFrame& before = frame.before;
    const std::uint8_t held = p.campo.at(c, r);
    const std::uint8_t above = p.campo.at(c, r - 1);
    const bool above_player = c == p.jogadorx && r == p.jogadory - 1;
    // Meteors appear unseen near the top; those above row 4 never fall.
    if (held == METEORO && r <= 4) {
        ++accepted_.hidden_meteors;
        return true;
    }
    // An enemy shot is unseen until it first falls. Its ship may stand on
    // the player's cell, and vanish with it when the player moves away.
    const bool player_left_above = c == before.jogadorx && r == before.jogadory + 1;
    if (held == TIRO_INIMIGO && (above == NAVE || above == JOGADOR || player_left_above)) {
        ++accepted_.unseen_enemy_shots;
        return true;
    }
    // A shot or special shot fired by this frame's key is drawn next frame.
    if (above_player && ((held == TIRO && frame.key_read == ' ') ||
                         (held == ESPECIAL && (frame.key_read == 'b' || frame.key_read == 'B')))) {
        ++accepted_.fresh_shots;
        return true;
    }
    // The burst blanks its nine cells whatever the field holds there.
    if (screen_.at(c, r).ch == ' ' && in_burst(c, r, frame.detonations)) {
        ++accepted_.burst_blanks;
        return true;
    }
    // A shot that hits a ship leaves the cell it passed through unpainted.
    if (held == VAZIO && before.campo.at(c, r - 1) == NAVE && before.campo.at(c, r + 1) == TIRO &&
        p.pontos >= before.pontos + 40) {
        ++accepted_.shots_through_ships;
        return true;
    }
    return false;
}

std::string FieldWatch::check_outside(int c, int r, const Frame& frame) {
    if (status_value(c, r))
        return {};
    const console::Cell shown = screen_.at(c, r);
    if (c == 1 && edge_rows_with_ships_[r]) {
        // The ships' repaint and moves reach column 1, the frame's edge:
        // there the screen follows the ships, and what else lands there
        // stays unseen.
        const std::uint8_t held = frame.p.campo.at(1, r);
        if ((held == NAVE || held == VAZIO) && shown.ch != teste::glifo(held))
            return "the frame's edge does not follow its ship" + where(c, r);
        if (shown != drawn_at_start_[index(c, r)])
            ++accepted_.edge_ships;
        return {};
    }
    bool& blanked = burst_edge_[index(c, r)];
    if (in_burst(c, r, frame.detonations) && shown.ch == ' ')
        blanked = true;
    if (blanked && shown.ch == ' ') {
        ++accepted_.edge_bursts;
        return {};
    }
    if (shown != drawn_at_start_[index(c, r)]) {
        std::ostringstream out;
        out << "byte " << int{shown.ch} << " colour " << shown.attr << " written outside the field"
            << where(c, r);
        return out.str();
    }
    return {};
}

} // namespace soak
