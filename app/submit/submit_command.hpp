#pragma once
// --submit: a recording sent to a board, and the board's answer told to the
// player (standard output) or why it was not stored (standard error).

#include "app/http/client.hpp"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace submit {

inline constexpr int STORED = 0;
inline constexpr int NOT_STORED = 1;
inline constexpr int CANNOT_SEND = 2;

// What carries a request to the board; http::send outside the tests.
using Sender = std::function<http::Outcome(const http::Request&)>;

// The recording's bytes, sent as they are to the board at `board` (an
// address board_address accepted), with its games' ticket ids ("ID,,ID",
// empty for none). `what` names the recording in messages.
int submit_recording(const std::string& bytes, const std::string& what, const std::string& board,
                     const Sender& sender, std::ostream& out, std::ostream& err,
                     const std::string& tickets = {});

// The board from --server, else from ORBITRIX_SERVER; none, with the reason
// written to `err`, when it is not given or not an address. `option` names
// the option that needs it.
std::optional<std::string> chosen_board(const std::optional<std::string>& server,
                                        const std::string& option, std::ostream& err);

// The file beside a recording that holds its games' ticket ids, one line.
std::string tickets_file(const std::string& recording);

// An http::send with the limits a command waits for.
http::Outcome send_to_board(const http::Request& request);

// The board as chosen_board finds it; the file read whole, with the
// tickets kept beside it when there are. A board that is not given or not
// an address, and a file that cannot be read, end with CANNOT_SEND before
// anything is sent.
int submit_file(const std::string& path, const std::optional<std::string>& server,
                std::ostream& out, std::ostream& err);

} // namespace submit
