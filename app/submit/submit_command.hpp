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
// address board_address accepted). `what` names the recording in messages.
int submit_recording(const std::string& bytes, const std::string& what, const std::string& board,
                     const Sender& sender, std::ostream& out, std::ostream& err);

// The board from --server, else from ORBITRIX_SERVER; the file read whole.
// A board that is not given or not an address, and a file that cannot be
// read, end with CANNOT_SEND before anything is sent.
int submit_file(const std::string& path, const std::optional<std::string>& server,
                std::ostream& out, std::ostream& err);

} // namespace submit
