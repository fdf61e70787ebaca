#pragma once
// --ranked: the board and the first ticket before the terminal is touched,
// each later ticket as its game begins, and the session sent with its
// tickets once the terminal is given back. The ticket ids are kept beside
// the recording (FILE.tickets), so --submit FILE sends them later too.

#include "app/submit/submit_command.hpp"
#include "app/submit/ticketed_clock.hpp"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace submit {

struct RankedStart {
    std::string board;
    std::string recording; // the file the session is written to
    TicketDealer dealer;
};

// {"ticket": "...", "seed": N}, or nothing when the answer is not that.
std::optional<DealtTicket> read_ticket(std::string_view body);

// A ticket from the board, or why there is none (English, one line).
std::variant<DealtTicket, std::string> ask_ticket(const std::string& board, const Sender& sender);

// The board (--server, else ORBITRIX_SERVER), the recording's file
// (--record's, else a new one beside the scores) and the first ticket; or
// the status to exit with, the reason written to `err`. Later tickets are
// asked through `between_games`, which must not keep a game waiting long.
std::variant<RankedStart, int> start_ranked(const std::optional<std::string>& server,
                                            const std::optional<std::string>& record,
                                            const Sender& sender, const Sender& between_games,
                                            std::ostream& err);

// The tickets written beside the recording and the session sent with them;
// a session that could not be sent is kept, with the line that sends it.
int finish_ranked(const RankedStart& ranked, const Sender& sender, std::ostream& out,
                  std::ostream& err);

} // namespace submit
