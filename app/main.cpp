#include "app/replay/commands.hpp"
#include "app/replay/replaying_platform.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int USAGE = 2;

int usage(const char* what) {
    std::fprintf(stderr,
                 "orbitrix: %s\nusage: orbitrix [--record FILE | --replay FILE [--speed N] | "
                 "--verify FILE]\n",
                 what);
    return USAGE;
}

} // namespace

int main(int argc, char** argv) {
    std::string_view mode;
    std::string file;
    int speed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 == argc)
            return usage("every option takes a value");
        const std::string_view value = argv[++i];
        if (arg == "--speed") {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), speed);
            if (error != std::errc{} || end != value.data() + value.size() || speed < 1 ||
                speed > replay::MAX_SPEED)
                return usage("--speed takes a whole number from 1 to 16");
        } else if (arg == "--record" || arg == "--replay" || arg == "--verify") {
            if (!mode.empty())
                return usage("--record, --replay and --verify go one at a time");
            mode = arg;
            file = value;
        } else {
            return usage("unknown option");
        }
    }
    if (speed != 0 && mode != "--replay")
        return usage("--speed goes with --replay");
    if (mode == "--record")
        return replay::record_on_console(file);
    if (mode == "--replay")
        return replay::replay_on_console(file, speed == 0 ? 1 : speed);
    if (mode == "--verify")
        return replay::verify_file(file);
    return console::run_on_native_console([] { return game::sessao(); });
}
