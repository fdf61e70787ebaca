#pragma once
// --ranked: where the session goes, asked before the terminal is touched:
// the boards (--server, once or more, else ORBITRIX_SERVER) and the file the
// session is recorded to (--record's, else a new one beside the scores).
// The session itself is played live on the first board that answers.

#include "app/submit/submit_command.hpp"

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace submit {

struct RankedStart {
    std::vector<std::string> boards; // in the order given
    std::string recording;           // the file the session is written to
};

// The boards and the recording's file; or the status to exit with, the
// reason written to `err`.
std::variant<RankedStart, int> start_ranked(const std::optional<std::string>& server,
                                            const std::vector<std::string>& more_servers,
                                            const std::optional<std::string>& record,
                                            std::ostream& err);

} // namespace submit
