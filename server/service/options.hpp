#pragma once
// orbitrix-server's command line, read by a pure function: what to do, or
// the one-line error that ends the reading.

#include "server/service/board_service.hpp"

#include <string>
#include <variant>
#include <vector>

namespace board {

struct Run {
    ServiceConfig config;
    bool database_given = false; // else the default file, whose folder is made
};
struct ShowHelp {};
struct ShowVersion {};
struct BadCommandLine {
    std::string message; // without the program's name
};

using Command = std::variant<Run, ShowHelp, ShowVersion, BadCommandLine>;

Command read_command_line(const std::vector<std::string>& args);

std::string help_text();
std::string version_text();

// $XDG_DATA_HOME/orbitrix/board.sqlite3, else ~/.local/share/orbitrix/...;
// empty when neither variable is set.
std::string default_database(const char* xdg_data_home, const char* home);

// The database as the log may name it: a URL's password, in its user part or
// as a password parameter, is replaced by "***", so the log, often readable
// by more people than the service's configuration, does not carry it.
std::string database_for_log(const std::string& database);

} // namespace board
