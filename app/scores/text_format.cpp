#include "app/scores/text_format.hpp"

#include "common/utc_time.hpp"
#include "console/digits.hpp"

#include <array>
#include <charconv>

namespace scores {
namespace {

constexpr std::string_view HEADER_STEM = "orbitrix scores ";

constexpr std::array<std::pair<Ending, std::string_view>, 3> ENDINGS{{
    {Ending::lost, "lost"},
    {Ending::won, "won"},
    {Ending::left, "left"},
}};

bool is_control(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

void append_escaped(std::string& out, std::string_view name) {
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (is_control(c))
            out += {'\\', 'x', console::HEX_DIGITS[c >> 4], console::HEX_DIGITS[c & 15]};
        else
            out += ch;
    }
}

std::optional<std::string> unescaped(std::string_view field) {
    std::string name;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (is_control(static_cast<unsigned char>(c)))
            return std::nullopt;
        if (c != '\\') {
            name += c;
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            name += '\\';
            break;
        case 't':
            name += '\t';
            break;
        case 'n':
            name += '\n';
            break;
        case 'r':
            name += '\r';
            break;
        case 'x': {
            if (i + 2 >= field.size())
                return std::nullopt;
            const int high = console::digit_value(field[i + 1]);
            const int low = console::digit_value(field[i + 2]);
            if (high >= 16 || low >= 16)
                return std::nullopt;
            name += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return name;
}

std::optional<int> integer(std::string_view field) {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc{} || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

std::optional<Ending> ending_named(std::string_view field) {
    for (const auto& [ending, word] : ENDINGS)
        if (field == word)
            return ending;
    return std::nullopt;
}

std::string_view word_of(Ending ending) {
    for (const auto& [e, word] : ENDINGS)
        if (e == ending)
            return word;
    return "left";
}

std::optional<Entry> entry_of(std::string_view line) {
    std::array<std::string_view, 6> fields;
    std::size_t count = 0;
    for (;;) {
        const std::size_t tab = line.find('\t');
        if (count == fields.size())
            return std::nullopt;
        fields[count++] = line.substr(0, tab);
        if (tab == std::string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    if (count != fields.size())
        return std::nullopt;
    const auto points = integer(fields[0]);
    auto name = unescaped(fields[1]);
    const auto start = integer(fields[2]), level = integer(fields[3]);
    const auto ending = ending_named(fields[4]);
    const auto when = common::parse_iso_utc(fields[5]);
    if (!points || *points < 0 || !name || !start || !level || !ending || !when)
        return std::nullopt;
    return Entry{*points, std::move(*name), *start, *level, *ending, *when};
}

// A header of this format with a version number after ours.
bool later_header(std::string_view line) {
    if (!line.starts_with(HEADER_STEM))
        return false;
    const auto version = integer(line.substr(HEADER_STEM.size()));
    return version && *version > 1;
}

} // namespace

std::string to_text(const std::vector<Entry>& table) {
    std::string text(FORMAT_HEADER);
    text += '\n';
    for (const Entry& e : table) {
        text += std::to_string(e.points) + '\t';
        append_escaped(text, e.name);
        text += '\t' + std::to_string(e.start_level) + '\t' + std::to_string(e.level) + '\t';
        text += word_of(e.ending);
        text += '\t' + common::iso_utc(e.when) + '\n';
    }
    return text;
}

Parsed from_text(std::string_view text) {
    Parsed parsed;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (number == 1) {
            if (line != FORMAT_HEADER) {
                parsed.flaw = Flaw{1, later_header(line)};
                return parsed;
            }
            continue;
        }
        auto entry = entry_of(line);
        if (!entry) {
            parsed.flaw = Flaw{number, false};
            return parsed;
        }
        parsed.table.push_back(std::move(*entry));
    }
    if (number == 0)
        parsed.flaw = Flaw{1, false};
    return parsed;
}

} // namespace scores
