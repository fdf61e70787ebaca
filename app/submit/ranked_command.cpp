#include "app/submit/ranked_command.hpp"

#include "app/scores/files.hpp"
#include "app/scores/location.hpp"
#include "app/submit/board_answer.hpp"
#include "app/submit/server_address.hpp"
#include "common/game_text.hpp"
#include "common/utc_time.hpp"

#include <nlohmann/json.hpp>

#include <chrono>
#include <ostream>

namespace submit {
namespace {

constexpr int CREATED = 201;

std::int64_t now_seconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Beside the scores, named for the time it began; no ':' so that Windows
// takes the name too.
std::string default_recording() {
    const scores::Location scores = scores::scores_location();
    if (scores.problem)
        return {};
    const auto slash = scores.path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : scores.path.substr(0, slash);
    std::string stamp = common::iso_utc(now_seconds());
    for (char& c : stamp)
        if (c == ':')
            c = '-';
    return folder + (scores.path.find('\\') != std::string::npos ? "\\" : "/") + "ranked-" + stamp +
           ".replay";
}

std::string joined(const std::vector<std::string>& ids) {
    std::string text;
    for (std::size_t i = 0; i < ids.size(); ++i)
        text += (i == 0 ? "" : ",") + ids[i];
    return text;
}

} // namespace

std::optional<DealtTicket> read_ticket(std::string_view body) {
    const auto json = nlohmann::json::parse(body, nullptr, false);
    if (!json.is_object() || !json.contains("ticket") || !json.contains("seed"))
        return std::nullopt;
    const auto& id = json["ticket"];
    const auto& seed = json["seed"];
    if (!id.is_string() || !seed.is_number_unsigned() || seed.get<std::uint64_t>() > UINT32_MAX)
        return std::nullopt;
    const std::string text = id.get<std::string>();
    // It travels in a query and a file of its own: hex digits only.
    if (text.empty() || text.size() > 64 ||
        text.find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::nullopt;
    return DealtTicket{text, static_cast<std::uint32_t>(seed.get<std::uint64_t>())};
}

std::variant<DealtTicket, std::string> ask_ticket(const std::string& board, const Sender& sender) {
    const http::Outcome outcome = sender(http::Request{"POST", under(board, "/api/tickets")});
    if (const auto* failure = std::get_if<http::Failure>(&outcome))
        return "cannot reach the board at " + board + ": " + failure->what;
    const auto& response = std::get<http::Response>(outcome);
    if (response.status != CREATED) {
        const std::optional<std::string> reason = read_error(response.body);
        return "the board at " + board + " deals no ticket: " +
               (reason ? common::printable(*reason) : "status " + std::to_string(response.status));
    }
    std::optional<DealtTicket> ticket = read_ticket(response.body);
    if (!ticket)
        return "the board at " + board + " answered with something that is not a ticket";
    return std::move(*ticket);
}

std::variant<RankedStart, int> start_ranked(const std::optional<std::string>& server,
                                            const std::optional<std::string>& record,
                                            const Sender& sender, const Sender& between_games,
                                            std::ostream& err) {
    std::optional<std::string> board = chosen_board(server, "--ranked", err);
    if (!board)
        return CANNOT_SEND;
    RankedStart ranked{*board, record.value_or(default_recording()), {}};
    if (ranked.recording.empty()) {
        err << "orbitrix: no place for the ranked session's recording: give '--record FILE'"
            << std::endl;
        return CANNOT_SEND;
    }
    if (!record)
        if (const auto problem = scores::files::make_parent_directories(ranked.recording)) {
            err << "orbitrix: " << ranked.recording << ": " << *problem << std::endl;
            return CANNOT_SEND;
        }
    auto first = ask_ticket(ranked.board, sender);
    if (const auto* why = std::get_if<std::string>(&first)) {
        err << "orbitrix: no ranked session: " << *why << std::endl;
        return NOT_STORED;
    }
    ranked.dealer.first = std::get<DealtTicket>(std::move(first));
    ranked.dealer.next = [board = ranked.board, between_games]() -> std::optional<DealtTicket> {
        auto next = ask_ticket(board, between_games);
        if (auto* ticket = std::get_if<DealtTicket>(&next))
            return std::move(*ticket);
        return std::nullopt;
    };
    return ranked;
}

int finish_ranked(const RankedStart& ranked, const Sender& sender, std::ostream& out,
                  std::ostream& err) {
    const std::string tickets = joined(ranked.dealer.dealt);
    const std::string beside = tickets_file(ranked.recording);
    if (const auto problem = scores::files::write_durably(beside, tickets + "\n", {}))
        err << "orbitrix: " << beside << ": " << *problem << std::endl;
    const scores::files::Read bytes = scores::files::read_whole(ranked.recording);
    if (bytes.problem || !bytes.exists) {
        err << "orbitrix: " << ranked.recording
            << ": cannot be read: " << bytes.problem.value_or("it is gone") << std::endl;
        return NOT_STORED;
    }
    const int sent =
        submit_recording(bytes.content, ranked.recording, ranked.board, sender, out, err, tickets);
    if (sent != STORED)
        err << "orbitrix: the session is kept in " << ranked.recording
            << "; its games still count as ranked if sent within 24 hours of their tickets:\n"
            << "  orbitrix --submit " << ranked.recording << " --server " << ranked.board
            << std::endl;
    return sent;
}

} // namespace submit
