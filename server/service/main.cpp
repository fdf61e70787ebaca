// orbitrix-server: the board. SIGTERM and SIGINT are blocked in every
// thread and taken by one that only waits for them, so no signal handler
// runs at all; it asks the service to stop, which closes what is idle, lets
// the requests under way finish within a grace, and the database is closed
// as the service goes.
#include "server/service/options.hpp"
#include "server/store.hpp"
#include "server/web_files.hpp"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <pthread.h>
#include <sys/resource.h>
#include <thread>

namespace {

constexpr int CANNOT_RUN = 1;
constexpr int WRONG_COMMAND_LINE = 2;

#ifndef ORBITRIX_WEB_DIR
#error "the build names where the pages' files are installed"
#endif

// The folder --web names, when it holds the pages' files, else the first
// place that does; empty, having said why, when there is none.
std::string pages_folder(const std::string& given) {
    if (!given.empty()) {
        if (board::holds_web_files(given))
            return given;
        std::cerr << "orbitrix-server: --web " << given
                  << " does not hold the pages' files (no orbitrix.css there)\n";
        return {};
    }
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto candidates = board::web_dir_candidates(executable, ORBITRIX_WEB_DIR);
    if (const auto found = board::find_web_dir(candidates))
        return found->string();
    std::cerr << "orbitrix-server: the pages' files (orbitrix.css) are in none of";
    for (std::size_t i = 0; i < candidates.size(); ++i)
        std::cerr << (i == 0                       ? " "
                      : i + 1 == candidates.size() ? " and "
                                                   : ", ")
                  << candidates[i].string();
    std::cerr << "; --web DIR names their folder\n";
    return {};
}

// Each connection holds a descriptor, besides the few of the store, the log
// and the pages' files: the soft limit is raised to make room, as far as the
// hard one allows, and a shortfall is said once.
void make_room_for(std::size_t connections) {
    constexpr rlim_t OWN_DESCRIPTORS = 64;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    const rlim_t wanted = static_cast<rlim_t>(connections) + OWN_DESCRIPTORS;
    if (limit.rlim_cur >= wanted)
        return;
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    const rlim_t open = ::setrlimit(RLIMIT_NOFILE, &raised) == 0 ? raised.rlim_cur : limit.rlim_cur;
    if (open < wanted)
        std::cerr << "orbitrix-server: " << open << " open files at most (ulimit -n), so fewer "
                  << "than the " << connections << " connections --max-connections allows\n";
}

int serve(board::Run run) {
    run.config.web_dir = pages_folder(run.config.web_dir);
    if (run.config.web_dir.empty())
        return CANNOT_RUN;
    if (!run.database_given) {
        run.config.database =
            board::default_database(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        if (run.config.database.empty()) {
            std::cerr << "orbitrix-server: no --database, and neither XDG_DATA_HOME nor HOME "
                         "is set\n";
            return CANNOT_RUN;
        }
        std::error_code ignored;
        std::filesystem::create_directories(
            std::filesystem::path(run.config.database).parent_path(), ignored);
    }

    make_room_for(run.config.edge.connections);
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    // Before any thread starts, so every one inherits the mask.
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        board::BoardService service(run.config);
        std::cerr << "orbitrix-server: serving on " << run.config.host << ":" << service.port()
                  << ", database " << board::database_for_log(run.config.database) << "\n";
        std::thread waiter([&] {
            int signal = 0;
            sigwait(&stops, &signal);
            service.stop();
        });
        service.run();
        // run() also ends when the listening socket fails; wake the waiter.
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
        std::cerr << "orbitrix-server: stopped\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "orbitrix-server: " << e.what() << "\n";
        return CANNOT_RUN;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const board::Command command = board::read_command_line(args);
    if (std::holds_alternative<board::ShowHelp>(command)) {
        std::cout << board::help_text();
        return 0;
    }
    if (std::holds_alternative<board::ShowVersion>(command)) {
        std::cout << board::version_text();
        return 0;
    }
    if (const auto* bad = std::get_if<board::BadCommandLine>(&command)) {
        std::cerr << "orbitrix-server: " << bad->message << "\n"
                  << "Try 'orbitrix-server --help'.\n";
        return WRONG_COMMAND_LINE;
    }
    return serve(std::get<board::Run>(command));
}
