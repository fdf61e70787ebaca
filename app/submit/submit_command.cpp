#include "app/submit/submit_command.hpp"

#include "app/scores/files.hpp"
#include "app/submit/board_answer.hpp"
#include "app/submit/server_address.hpp"
#include "app/usage/usage_text.hpp"
#include "common/game_text.hpp"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>

namespace submit {
namespace {

constexpr int CREATED = 201;
constexpr int OK = 200;

std::optional<std::string> read_whole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(bytes).str();
}

} // namespace

int submit_recording(const std::string& bytes, const std::string& what, const std::string& board,
                     const Sender& sender, std::ostream& out, std::ostream& err,
                     const std::string& tickets) {
    // Ticket ids are hex digits and commas: nothing to escape.
    const std::string path = tickets.empty() ? "/api/runs" : "/api/runs?tickets=" + tickets;
    const http::Request request{"POST", under(board, path), bytes, "text/plain; charset=utf-8"};
    const http::Outcome outcome = sender(request);
    if (const auto* failure = std::get_if<http::Failure>(&outcome)) {
        err << "orbitrix: cannot reach the board at " << board << ": " << failure->what
            << std::endl;
        return NOT_STORED;
    }
    const auto& response = std::get<http::Response>(outcome);
    if (response.status == CREATED || response.status == OK) {
        const std::optional<StoredRun> run = read_stored_run(response.body);
        if (!run) {
            err << "orbitrix: " << board << " answered " << response.status
                << " with something that is not a board's answer; " << what
                << " may or may not be stored" << std::endl;
            return NOT_STORED;
        }
        out << player_lines(*run, board,
                            response.status == CREATED ? Arrival::stored : Arrival::already_there);
        out.flush();
        return STORED;
    }
    const std::optional<std::string> reason = read_error(response.body);
    err << "orbitrix: the board at " << board << " refused " << what << ": "
        << (reason ? common::printable(*reason) : "status " + std::to_string(response.status));
    if (response.retry_after)
        err << " (try again in " << common::printable(*response.retry_after) << " s)";
    err << std::endl;
    return NOT_STORED;
}

std::optional<std::string> chosen_board(const std::optional<std::string>& server,
                                        const std::string& option, std::ostream& err) {
    std::optional<std::string> given = server;
    if (!given)
        given = scores::files::environment("ORBITRIX_SERVER");
    if (!given || given->empty()) {
        err << usage::usage_text("option '" + option +
                                 "' needs a board: give '--server URL' or set ORBITRIX_SERVER");
        return std::nullopt;
    }
    std::optional<std::string> board = board_address(*given);
    if (!board)
        err << usage::usage_text("ORBITRIX_SERVER is not an http:// or https:// address: '" +
                                 *given + "'");
    return board;
}

std::string tickets_file(const std::string& recording) {
    return recording + ".tickets";
}

http::Outcome send_to_board(const http::Request& request) {
    return http::send(request);
}

int submit_file(const std::string& path, const std::optional<std::string>& server,
                std::ostream& out, std::ostream& err) {
    const std::optional<std::string> board = chosen_board(server, "--submit", err);
    if (!board)
        return CANNOT_SEND;
    const std::optional<std::string> bytes = read_whole(path);
    if (!bytes) {
        err << "orbitrix: " << path << ": cannot be read: " << std::strerror(errno) << std::endl;
        return CANNOT_SEND;
    }
    // A ranked session keeps its tickets beside it; one line of ids.
    std::string tickets = read_whole(tickets_file(path)).value_or("");
    if (const auto end = tickets.find('\n'); end != std::string::npos)
        tickets.erase(end);
    return submit_recording(*bytes, path, *board, send_to_board, out, err, tickets);
}

} // namespace submit
