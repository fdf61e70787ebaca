#include "app/scores/listing.hpp"

#include "app/scores/table.hpp"
#include "common/game_text.hpp"
#include "common/utc_time.hpp"

#include <algorithm>
#include <array>

namespace scores {
namespace {

constexpr std::size_t COLUMNS = 6;
using Row = std::array<std::string, COLUMNS>;
// Left-aligned columns; the numbers are right-aligned.
constexpr std::array<bool, COLUMNS> LEFT{false, false, true, true, true, true};

std::size_t code_points(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string_view ending_text(Ending ending) {
    switch (ending) {
    case Ending::lost:
        return "perdeu";
    case Ending::won:
        return "venceu";
    case Ending::left:
        break;
    }
    return "saiu";
}

} // namespace

std::string listing(const std::vector<Entry>& table) {
    if (table.empty())
        return "Nenhum jogo registrado ainda.\n";
    std::vector<Row> rows{{"Pos", "Pontos", "Nome", "Nivel", "Fim", "Data"}};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Entry& e = table[i];
        rows.push_back({std::to_string(i + 1), std::to_string(e.points), common::printable(e.name),
                        common::levels_text(e.start_level - '0', e.level - '0'),
                        std::string(ending_text(e.ending)), common::iso_utc(e.when)});
    }
    std::array<std::size_t, COLUMNS> width{};
    for (const Row& row : rows)
        for (std::size_t c = 0; c < COLUMNS; ++c)
            width[c] = std::max(width[c], code_points(row[c]));

    std::string out;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < COLUMNS; ++c) {
            const std::string pad(width[c] - code_points(row[c]), ' ');
            line += c == 0 ? "" : "  ";
            line += LEFT[c] ? row[c] + pad : pad + row[c];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + '\n';
    }
    return out;
}

std::string game_line(const Entry& game, std::optional<int> place) {
    std::string line =
        common::printable(game.name) + ": " + std::to_string(game.points) + " pontos";
    if (place)
        line += ", " + std::to_string(*place) + "o lugar entre os " + std::to_string(TABLE_SIZE) +
                " melhores";
    return line + '\n';
}

} // namespace scores
