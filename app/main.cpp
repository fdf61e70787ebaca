#include "app/command_line.hpp"
#include "app/play.hpp"
#include "console/native.hpp"

#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const app::Parsed parsed = app::parse_command_line(args);
    if (const auto* stop = std::get_if<app::Stop>(&parsed)) {
        std::FILE* to = stop->to_stderr ? stderr : stdout;
        // A help that cannot be written (a full disk, a closed pipe) is a failure.
        if (std::fputs(stop->text.c_str(), to) == EOF || std::fflush(to) != 0)
            return 1;
        return stop->status;
    }
    const app::Options options = std::get<app::Options>(parsed);
    return console::run_on_native_console([&options] { return app::play(options); });
}
