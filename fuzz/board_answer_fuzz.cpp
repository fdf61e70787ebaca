// A board's answer to a recording sent to it, whatever bytes the board
// sends: reading it may refuse it but never crash or trip a sanitizer, and
// what the player then reads holds no control byte but each line's end,
// one line a game and one for the run's address, on the same board. What a
// live session reads of it goes into paths and bodies: hex digits only.
#include "app/live/live_protocol.hpp"
#include "app/submit/board_answer.hpp"
#include "common/game_text.hpp"
#include "fuzz/fault.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool has_control(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const std::string board = "http://127.0.0.1:8080";
    if (const auto run = submit::read_stored_run(body)) {
        const std::string lines = submit::player_lines(*run, board, submit::Arrival::stored);
        const auto breaks = static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n'));
        if (breaks != run->games.size() + 1 || lines.back() != '\n')
            fault("not one line a game and one for the address");
        std::string no_breaks = lines;
        std::replace(no_breaks.begin(), no_breaks.end(), '\n', ' ');
        if (has_control(no_breaks))
            fault("a control byte reaches the player");
        if (lines.find("quadro: " + board + "/") == std::string::npos)
            fault("the run's address is not on the board");
    }
    // A live session's answers: the ids and secrets that go back into paths
    // and bodies are hex digits only.
    const auto hex = [](const std::string& text) {
        return !text.empty() && text.find_first_not_of("0123456789abcdef") == std::string::npos;
    };
    if (const auto opened = live::read_opened(body))
        if (!hex(opened->run) || !hex(opened->secret))
            fault("a session id or secret that is not hex digits");
    if (const auto dealt = live::read_dealt(body))
        if (dealt->game < 1 || !hex(dealt->secret))
            fault("a deal of no game, or a secret that is not hex digits");
    if (const auto acked = live::read_acknowledged(body))
        if (acked->seq < 1)
            fault("an acknowledgement of no batch");
    if (const auto reason = submit::read_error(body))
        if (has_control(common::printable(*reason)))
            fault("a control byte in the reason reaches the player");
    return 0;
}
