#include "app/scores/collector.hpp"
#include "app/scores/scores_command.hpp"
#include "app/scores/session_report.hpp"
#include "console/current.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--scores")
        return scores::print_scores(std::cout, std::cerr);

    std::vector<scores::Entry> played;
    const int status = console::run_on_native_console([&played] {
        // The platform installed now is the machine's own.
        scores::Collector collector(console::platform(), played);
        return game::sessao(collector);
    });
    // The terminal is given back by now, on every ending.
    scores::report_session(played, scores::Recording::on, std::cout, std::cerr);
    return status;
}
