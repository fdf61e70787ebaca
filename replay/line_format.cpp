#include "replay/line_format.hpp"

#include "console/digits.hpp"
#include "console/glyphs.hpp"
#include "console/utf8.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <vector>

#ifndef ORBITRIX_VERSION
#error "the build names the program's version"
#endif

namespace replay {
namespace {

constexpr std::array ENDINGS{
    std::pair{game::Desfecho::perdeu, std::string_view("lost")},
    std::pair{game::Desfecho::venceu, std::string_view("won")},
    std::pair{game::Desfecho::saiu, std::string_view("left")},
};

constexpr std::string_view PLATFORM =
#if defined(_WIN32)
    "windows";
#elif defined(__linux__)
    "linux";
#elif defined(__APPLE__)
    "macos";
#else
    "posix";
#endif

// A game's name read back from its quoted text: the bytes the game held,
// or what is wrong with the text.
struct Unquoted {
    std::string bytes;
    std::string problem; // empty when read
};

Unquoted unquoted(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return {{}, "a game's name is a quoted text"};
    text = text.substr(1, text.size() - 2);
    Unquoted out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"')
            return {{}, "a game's name is a quoted text"};
        if (ch == '\\') {
            if (i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
                out.bytes += text[++i];
                continue;
            }
            if (i + 3 < text.size() && text[i + 1] == 'x' &&
                console::digit_value(text[i + 2]) < 16 && console::digit_value(text[i + 3]) < 16) {
                out.bytes += static_cast<char>(console::digit_value(text[i + 2]) * 16 +
                                               console::digit_value(text[i + 3]));
                i += 3;
                continue;
            }
            return {{}, "a game's name is a quoted text"};
        }
        if (byte < 0x20 || byte == 0x7f)
            return {{}, "a game's name holds a control character: it is written \\xHH"};
        if (byte < 0x80) {
            out.bytes += ch;
            continue;
        }
        const auto c = console::first_utf8(text.substr(i));
        if (!c)
            return {{}, "a game's name is not UTF-8"};
        const auto code_page = console::byte_for_unicode(c->code);
        if (!code_page || console::text_character(*code_page) != c->code)
            return {{},
                    "a game's name holds " + console::code_point(c->code) +
                        ", which the game's code page has no letter for"};
        out.bytes += static_cast<char>(*code_page);
        i += c->length - 1;
    }
    return out;
}

// Words split at single blanks; a quoted last word may hold blanks.
std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    while (!line.empty()) {
        if (line.front() == '"') {
            words.push_back(line);
            break;
        }
        const auto blank = line.find(' ');
        words.push_back(line.substr(0, blank));
        if (blank == std::string_view::npos)
            break;
        line.remove_prefix(blank + 1);
        if (line.empty())
            words.emplace_back();
    }
    return words;
}

// Built by appending: g++ 12 sees a false overlap in "literal" + string.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view part : parts)
        out += part;
    return out;
}

template <class Number> std::optional<Number> number(std::string_view word) {
    Number value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc{} || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::variant<Event, std::string> parse_game(const std::vector<std::string_view>& w) {
    if (w.size() != 7)
        return std::string("a game needs its ending, two levels, points, lives and a name");
    std::optional<game::Desfecho> ending;
    for (const auto& [desfecho, word] : ENDINGS)
        if (w[1] == word)
            ending = desfecho;
    if (!ending)
        return joined({"'", w[1], "' is not an ending (lost, won or left)"});
    const auto first = number<int>(w[2]);
    const auto last = number<int>(w[3]);
    const auto points = number<int>(w[4]);
    const auto lives = number<int>(w[5]);
    if (!first || !last || !points || !lives)
        return std::string("a game's levels, points and lives are whole numbers");
    Unquoted name = unquoted(w[6]);
    if (!name.problem.empty())
        return std::move(name.problem);
    return Event{
        GameEnded{game::Resultado{std::move(name.bytes), *first, *last, *points, *lives, *ending}}};
}

} // namespace

std::string this_program() {
    return std::string(ORBITRIX_VERSION) + " " + std::string(PLATFORM);
}

bool replays_identically(std::string_view made_by) {
    // 1.0 wrote the same game and the same format; only its version's
    // spelling differs.
    constexpr std::array SAME_GAME{std::string_view("1.0"), std::string_view(ORBITRIX_VERSION)};
    const std::string_view version = made_by.substr(0, made_by.find(' '));
    return version.size() < made_by.size() &&
           std::find(SAME_GAME.begin(), SAME_GAME.end(), version) != SAME_GAME.end();
}

std::string header_lines() {
    return "orbitrix replay " + std::to_string(FORMAT_VERSION) + "\norbitrix " + this_program() +
           "\n";
}

std::string quoted(std::string_view bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (const auto c = console::text_character(byte)) {
            out += console::utf8_of(*c);
        } else {
            out += "\\x";
            out += console::HEX_DIGITS[byte >> 4];
            out += console::HEX_DIGITS[byte & 15];
        }
    }
    return out + "\"";
}

std::string line_of(const Event& event) {
    struct Writer {
        std::string operator()(const TimeRead& t) const {
            return "time " + std::to_string(t.seconds);
        }
        std::string operator()(const KeyRead& k) const {
            return "key " + std::to_string(k.code) + " " + std::to_string(k.misses);
        }
        std::string operator()(const GameEnded& g) const {
            const game::Resultado& r = g.result;
            std::string_view ending;
            for (const auto& [desfecho, word] : ENDINGS)
                if (r.desfecho == desfecho)
                    ending = word;
            return joined({"game ", ending, " ", std::to_string(r.nivel_inicial), " ",
                           std::to_string(r.nivel), " ", std::to_string(r.pontos), " ",
                           std::to_string(r.vidas), " ", quoted(r.nome)});
        }
    };
    return std::visit(Writer{}, event) + "\n";
}

std::variant<Event, std::string> parse_event(std::string_view line) {
    const auto w = words_of(line);
    if (w.empty())
        return std::string("an empty line");
    if (w[0] == "time") {
        const auto seconds = w.size() == 2 ? number<std::int64_t>(w[1]) : std::nullopt;
        if (!seconds)
            return std::string("a time is one whole number of seconds");
        return Event{TimeRead{*seconds}};
    }
    if (w[0] == "key") {
        const auto code = w.size() == 3 ? number<int>(w[1]) : std::nullopt;
        const auto misses = w.size() == 3 ? number<std::int64_t>(w[2]) : std::nullopt;
        if (!code || !misses || *code < 0 || *misses < 0)
            return std::string("a key is its code and a count of no-key answers, both 0 or more");
        return Event{KeyRead{*code, *misses}};
    }
    if (w[0] == "game")
        return parse_game(w);
    return joined({"'", w[0], "' is not an event (time, key or game)"});
}

std::string level_text(int code) {
    if (code > ' ' && code < 127)
        return std::string(1, static_cast<char>(code));
    return "(tecla " + std::to_string(code) + ")";
}

} // namespace replay
