#include "support/field_watch.hpp"

#include "screens/celulas.hpp"
#include "screens/painel.hpp"
#include "screens/paleta.hpp"
#include "support/sons.hpp"

#include <algorithm>
#include <sstream>
#include <type_traits>

namespace teste {
namespace {

using namespace game;

constexpr int ESPACO = ' ';

bool in_area(int c, int r) {
    return c >= screens::PRIMEIRA_COLUNA_DA_AREA && c <= screens::ULTIMA_COLUNA_DA_AREA &&
           r >= screens::PRIMEIRA_LINHA_DA_AREA && r <= screens::ULTIMA_LINHA_DA_AREA;
}

// Printed every frame: name, lives, level, the special shot's mark, score;
// and the status word the pause rewrites. Each value runs from its place for
// as many cells as it can grow to.
bool status_value(int c, int r) {
    const struct {
        const screens::CampoDoPainel& campo;
        int cells;
    } values[] = {
        {screens::NOME, screens::largura(screens::NOME)},
        {screens::VIDAS, screens::largura(screens::VIDAS)},
        {screens::NIVEL, 2},
        {screens::TIRO_ESPECIAL, 1},
        {screens::PONTOS, screens::largura(screens::PONTOS)},
        {screens::STATUS, static_cast<int>(screens::PAUSADO.size())},
    };
    for (const auto& v : values)
        if (r == v.campo.valor.linha && c >= v.campo.valor.coluna &&
            c < v.campo.valor.coluna + v.cells)
            return true;
    return false;
}

bool object_glyph(std::uint8_t ch) {
    for (const std::uint8_t code :
         {VAZIO, ESPECIAL, VIDA, NAVE, METEORO, TIRO, TIRO_INIMIGO, JOGADOR})
        if (ch == screens::glifo(code))
            return true;
    return false;
}

// The lives a frame starts from: the first frame takes the level's own.
int lives_at_start(const BeforeFrame& before) {
    if (before.etapa != 0)
        return before.vidas;
    if (before.nivel < '1' || before.nivel > '4')
        return before.vidas;
    return NIVEIS[static_cast<std::size_t>(before.nivel - '1')].vidas;
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

Met& Met::operator+=(const Met& o) {
    hidden_meteors += o.hidden_meteors;
    unseen_enemy_shots += o.unseen_enemy_shots;
    fresh_shots += o.fresh_shots;
    burst_blanks += o.burst_blanks;
    shots_through_ships += o.shots_through_ships;
    edge_ships += o.edge_ships;
    edge_bursts += o.edge_bursts;
    detonations += o.detonations;
    lives_won += o.lives_won;
    lives_lost += o.lives_lost;
    fire_tones += o.fire_tones;
    charge_gained += o.charge_gained;
    return *this;
}

BeforeFrame FieldWatch::before(const Partida& p, const console::MemoryPlatform& platform) const {
    return BeforeFrame{p.campo,
                       p.pontos,
                       p.especial,
                       p.vidas,
                       p.bipe,
                       p.etapa,
                       p.nivel,
                       p.jogadorx,
                       p.jogadory,
                       platform.keys_left(),
                       platform.tones().size(),
                       platform.sleeps().size(),
                       platform.now_ms()};
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
    if (screen_.attribute() != screens::BRANCO)
        return Fault{"the frame left a colour other than white in force"};
    met_.detonations += static_cast<int>(frame.detonations.size());
    if (p.especial > before.especial)
        met_.charge_gained += p.especial - before.especial;
    return Fault{check_sounds_and_time(frame, platform)};
}

// Each life won plays the whole fast tune, each life lost its second half;
// the other tones are the shot, the enemy fire and the burst. The clock moves
// by the frame's sleeps and tones alone: a frame never waits for a key.
std::string FieldWatch::check_sounds_and_time(const Frame& frame,
                                              const console::MemoryPlatform& platform) {
    const BeforeFrame& before = frame.before;
    const Partida& p = frame.p;
    const auto& tones = platform.tones();
    int won = 0, lost = 0, fire = 0, bursts = 0;
    std::int64_t sounded = 0;
    for (std::size_t i = before.tones; i < tones.size();) {
        const auto starts_with = [&](const Tons& tune) {
            if (i + tune.size() > tones.size())
                return false;
            for (std::size_t j = 0; j < tune.size(); ++j)
                if (std::make_pair(tones[i + j].hz, tones[i + j].ms) != tune[j])
                    return false;
            return true;
        };
        std::size_t n = 1;
        if (starts_with(pega_vida(1))) {
            n = pega_vida(1).size();
            ++won;
        } else if (starts_with(perde_vida(1))) {
            n = perde_vida(1).size();
            ++lost;
        } else {
            const std::pair<int, int> t{tones[i].hz, tones[i].ms};
            if (t == std::pair{250, 50})
                ++fire;
            else if (t == std::pair{100, 125})
                ++bursts;
            else if (t != std::pair{114, 48})
                return "a tone of no event: " + std::to_string(t.first) + " Hz";
        }
        for (std::size_t j = i; j < i + n; ++j)
            sounded += tones[j].ms;
        i += n;
    }
    met_.lives_won += won;
    met_.lives_lost += lost;
    met_.fire_tones += fire;
    if (p.vidas - lives_at_start(before) != won - lost)
        return "the lives changed by other than the tunes played";
    // The enemy-fire tone sounds once until a frame that reads a key and goes
    // on past the completion test.
    if (fire > (before.bipe == 0 ? 1 : 0))
        return "the enemy-fire tone sounded again before a key was read";
    const bool flag_cleared = frame.key_read >= 0 && p.pontos < 30000;
    if (fire == 1 && p.bipe != (flag_cleared ? 0 : 1))
        return "the enemy-fire tone flag is wrong after the frame";
    if (bursts != static_cast<int>(frame.detonations.size()))
        return "a burst's tone for other than a detonation";

    // Each burst pauses, then the frame's own delay.
    std::vector<int> expected(frame.detonations.size(), 50);
    expected.push_back(p.parametros.atraso);
    const std::vector<int> slept(platform.sleeps().begin() + static_cast<long>(before.sleeps),
                                 platform.sleeps().end());
    if (slept != expected)
        return "the frame slept other than its delay and its bursts";
    std::int64_t asleep = 0;
    for (const int ms : slept)
        asleep += ms;
    if (platform.now_ms() - before.now_ms != asleep + sounded)
        return "the clock moved by other than the frame's sleeps and tones";
    return {};
}

std::string FieldWatch::check_area(int c, int r, const Frame& frame) {
    const console::Cell shown = screen_.at(c, r);
    if (shown.attr >= 16)
        return "a background colour" + where(c, r);
    if (!object_glyph(shown.ch))
        return "a stray byte " + std::to_string(int{shown.ch}) + where(c, r);
    const std::uint8_t held = frame.p.campo.at(c, r);
    AcceptedCell& earlier = accepted_cells_[index(c, r)];
    if (shown.ch == screens::glifo(held)) {
        earlier.accepted = false;
        // A ship is green once repainted, white right after a move.
        const bool right_colour = held == VAZIO || shown.attr == screens::cor_de(held) ||
                                  (held == NAVE && shown.attr == screens::BRANCO);
        if (!right_colour)
            return "colour " + std::to_string(shown.attr) + " for code " +
                   std::to_string(int{held}) + where(c, r);
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
        ++met_.hidden_meteors;
        return true;
    }
    // An enemy shot is unseen until it first falls. Its ship may stand on
    // the player's cell, and vanish with it when the player moves away.
    const bool player_left_above = c == before.jogadorx && r == before.jogadory + 1;
    if (held == TIRO_INIMIGO && (above == NAVE || above == JOGADOR || player_left_above)) {
        ++met_.unseen_enemy_shots;
        return true;
    }
    // A shot or special shot fired by this frame's key is drawn next frame.
    if (above_player && ((held == TIRO && frame.key_read == ESPACO) ||
                         (held == ESPECIAL && (frame.key_read == 'b' || frame.key_read == 'B')))) {
        ++met_.fresh_shots;
        return true;
    }
    // The burst blanks its nine cells whatever the field holds there.
    if (screen_.at(c, r).ch == ' ' && in_burst(c, r, frame.detonations)) {
        ++met_.burst_blanks;
        return true;
    }
    // A shot that hits a ship leaves the cell it passed through unpainted.
    if (held == VAZIO && before.campo.at(c, r - 1) == NAVE && before.campo.at(c, r + 1) == TIRO &&
        p.pontos >= before.pontos + 40) {
        ++met_.shots_through_ships;
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
        if ((held == NAVE || held == VAZIO) && shown.ch != screens::glifo(held))
            return "the frame's edge does not follow its ship" + where(c, r);
        if (shown != drawn_at_start_[index(c, r)])
            ++met_.edge_ships;
        return {};
    }
    bool& blanked = burst_edge_[index(c, r)];
    if (in_burst(c, r, frame.detonations) && shown.ch == ' ')
        blanked = true;
    if (blanked && shown.ch == ' ') {
        ++met_.edge_bursts;
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

} // namespace teste
