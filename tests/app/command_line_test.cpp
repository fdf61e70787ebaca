#include "app/command_line.hpp"
#include "app/option_table.hpp"
#include "app/texts.hpp"
#include "console/palette.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace {

using Args = std::vector<std::string_view>;

app::Parsed parse(const Args& args) {
    return app::parse_command_line(args);
}

std::string wrong(std::string_view line) {
    return "orbitrix: " + std::string(line) + "\nTry 'orbitrix --help'.\n";
}

TEST(CommandLine, GoodLinesGiveTheirOptions) {
    struct Case {
        Args args;
        std::optional<std::uint32_t> seed;
        bool mute;
    };
    const std::vector<Case> cases{
        {{}, std::nullopt, false},
        {{"--mute"}, std::nullopt, true},
        {{"--seed", "0"}, 0u, false},
        {{"--seed", "4294967295"}, 4294967295u, false},
        {{"--seed=42", "--mute"}, 42u, true},
        {{"--seed", "7", "--seed", "8"}, 8u, false},
        {{"--mute", "--"}, std::nullopt, true},
    };
    for (const Case& c : cases) {
        const app::Parsed parsed = parse(c.args);
        ASSERT_TRUE(std::holds_alternative<app::Options>(parsed)) << testing::PrintToString(c.args);
        const auto& options = std::get<app::Options>(parsed);
        EXPECT_EQ(options.seed, c.seed) << testing::PrintToString(c.args);
        EXPECT_EQ(options.mute, c.mute) << testing::PrintToString(c.args);
        EXPECT_FALSE(options.show_scores) << testing::PrintToString(c.args);
    }
    EXPECT_TRUE(std::get<app::Options>(parse({"--scores"})).show_scores);
    const auto replay = std::get<app::Options>(parse({"--speed=4", "--replay", "r"}));
    EXPECT_EQ(replay.replay, "r");
    EXPECT_EQ(replay.speed, 4);

    const auto arrows = std::get<app::Options>(parse({"--arrows"}));
    EXPECT_TRUE(arrows.arrows);
    EXPECT_FALSE(std::get<app::Options>(parse({})).arrows);
    EXPECT_EQ(std::get<app::Options>(parse({})).palette, std::nullopt);
    for (const auto& [name, palette] : std::vector<std::pair<std::string_view, console::Palette>>{
             {"console", console::Palette::console},
             {"fixed", console::Palette::fixed},
             {"colour-blind", console::Palette::colour_blind},
             {"mono", console::Palette::mono}}) {
        const std::string attached = "--palette=" + std::string(name);
        EXPECT_EQ(std::get<app::Options>(parse({attached})).palette, palette) << name;
        EXPECT_EQ(std::get<app::Options>(parse({"--palette", name})).palette, palette) << name;
    }
    // "-" is standard input, a value and not an option.
    EXPECT_EQ(std::get<app::Options>(parse({"--export", "-"})).export_file, "-");
    EXPECT_EQ(std::get<app::Options>(parse({"--export=r"})).export_file, "r");
}

TEST(CommandLine, WrongLinesSayWhatIsWrongOnStderrWithStatusTwo) {
    struct Case {
        Args args;
        std::string line;
    };
    const std::string seed_range = "option '--seed' takes a number from 0 to 4294967295, not ";
    const std::string palette_names =
        "option '--palette' takes console, fixed, colour-blind, or mono, not ";
    const std::vector<Case> cases{
        {{"--x"}, "unknown option '--x'"},
        {{"--x=3"}, "unknown option '--x'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-xh"}, "unknown option '-x'"},
        {{"--hel"}, "unknown option '--hel'"},
        {{"--seed"}, "option '--seed' needs a value"},
        {{"--mute", "--seed"}, "option '--seed' needs a value"},
        {{"--seed", "4294967296"}, seed_range + "'4294967296'"},
        {{"--seed", "-1"}, seed_range + "'-1'"},
        {{"--seed", "abc"}, seed_range + "'abc'"},
        {{"--seed", "12x"}, seed_range + "'12x'"},
        {{"--seed", " 12"}, seed_range + "' 12'"},
        {{"--seed="}, seed_range + "''"},
        {{"--mute=yes"}, "option '--mute' takes no value"},
        {{"play"}, "unexpected argument 'play'"},
        {{"-"}, "unexpected argument '-'"},
        {{"--", "--mute"}, "unexpected argument '--mute'"},
        {{"--seed", "1", "2"}, "unexpected argument '2'"},
        {{"--replay", "a", "--speed", "17"},
         "option '--speed' takes a number from 1 to 16, not '17'"},
        {{"--replay", "a", "--speed", "0"},
         "option '--speed' takes a number from 1 to 16, not '0'"},
        {{"--speed", "2"}, "option '--speed' goes with '--replay'"},
        {{"--record", "a", "--verify", "b"},
         "options '--record', '--replay' and '--verify' go one at a time"},
        {{"--replay"}, "option '--replay' needs a value"},
        {{"--palette", "Mono"}, palette_names + "'Mono'"},
        {{"--palette="}, palette_names + "''"},
        {{"--palette"}, "option '--palette' needs a value"},
        {{"--arrows=yes"}, "option '--arrows' takes no value"},
        {{"--export"}, "option '--export' needs a value"},
        {{"--export", "a", "--replay", "b"},
         "option '--export' goes without '--record', '--replay' or '--verify'"},
        {{"--verify", "a", "--export", "b"},
         "option '--export' goes without '--record', '--replay' or '--verify'"},
        {{"--submit", "a", "--record", "b"},
         "option '--submit' goes with none of '--record', '--replay' and '--verify'"},
        {{"--server", "http://b.example"}, "option '--server' goes with '--submit' or '--ranked'"},
        {{"--ranked", "--seed", "3"},
         "option '--ranked' goes with none of '--seed', '--replay', '--verify', '--export' "
         "and '--submit'"},
        {{"--ranked", "--submit", "a"},
         "option '--ranked' goes with none of '--seed', '--replay', '--verify', '--export' "
         "and '--submit'"},
        {{"--submit", "a", "--server", "b.example"},
         "option '--server' takes an http:// or https:// address, not 'b.example'"},
        {{"--submit", "a", "--server=http://"},
         "option '--server' takes an http:// or https:// address, not 'http://'"},
        {{"--submit"}, "option '--submit' needs a value"},
        // The first thing that stops the parse wins.
        {{"--x", "--help"}, "unknown option '--x'"},
    };
    for (const Case& c : cases) {
        const app::Parsed parsed = parse(c.args);
        ASSERT_TRUE(std::holds_alternative<app::Stop>(parsed)) << testing::PrintToString(c.args);
        const auto& stop = std::get<app::Stop>(parsed);
        EXPECT_EQ(stop.text, wrong(c.line)) << testing::PrintToString(c.args);
        EXPECT_TRUE(stop.to_stderr);
        EXPECT_EQ(stop.status, 2);
    }
}

TEST(CommandLine, SubmitTakesAFileAndTheBoardsAddressWithoutItsTrailingSlashes) {
    const auto given = std::get<app::Options>(
        parse({"--submit", "run.replay", "--server", "HTTPS://board.example:8443/"}));
    EXPECT_EQ(given.submit, "run.replay");
    EXPECT_EQ(given.server, "HTTPS://board.example:8443");
    const auto from_the_environment = std::get<app::Options>(parse({"--submit=r"}));
    EXPECT_EQ(from_the_environment.submit, "r");
    EXPECT_EQ(from_the_environment.server, std::nullopt);
}

TEST(CommandLine, HelpAndVersionGoToStdoutWithStatusZero) {
    for (const Args& args : {Args{"-h"}, Args{"--help"}, Args{"--help", "--x"}, Args{"-Vh"},
                             Args{"-V"}, Args{"--version"}, Args{"--mute", "-V", "extra"}}) {
        const app::Parsed parsed = parse(args);
        ASSERT_TRUE(std::holds_alternative<app::Stop>(parsed)) << testing::PrintToString(args);
        const auto& stop = std::get<app::Stop>(parsed);
        const bool help = args[0] == "-h" || args[0] == "--help";
        EXPECT_EQ(stop.text, help ? app::help_text() : app::version_text());
        EXPECT_FALSE(stop.to_stderr);
        EXPECT_EQ(stop.status, 0);
    }
    EXPECT_TRUE(app::version_text().starts_with("orbitrix 1."));
}

TEST(CommandLine, TheHelpNamesEveryOptionKeyAndStatusWithinEightyColumns) {
    const std::string help = app::help_text();
    for (const char* part :
         {"Usage: orbitrix [OPTION]...", "  -h, --help  ", "  -V, --version  ", "      --seed N  ",
          "      --mute  ", "      --arrows  ", "      --submit FILE  ", "      --server URL  ",
          "      --palette NAME  ", "Esc ", "space ", "arrow keys ", "  0  ", "  1  ", "  2  ",
          "  100  ", "man 6 orbitrix"})
        EXPECT_NE(help.find(part), std::string::npos) << part;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 79u) << line;
}

TEST(CommandLine, TheHelpStartsEveryOptionsDescriptionInOneColumn) {
    const std::string help = app::help_text();
    const std::string options = help.substr(help.find("Options:\n") + 9);
    std::istringstream lines(options.substr(0, options.find("\n\n") + 1));
    std::optional<std::size_t> column;
    for (std::string line; std::getline(lines, line);) {
        // A name runs from its dash to two spaces; a continued line has none.
        const std::size_t first = line.find_first_not_of(' ');
        const std::size_t text =
            line[first] == '-' ? line.find_first_not_of(' ', line.find("  ", first)) : first;
        column = column.value_or(text);
        EXPECT_EQ(text, *column) << line;
        EXPECT_EQ(line.substr(text - 2, 2), "  ") << line;
    }
    EXPECT_TRUE(column.has_value());
}

} // namespace
