#pragma once
// A live session's recording, read batch by batch: the first batch opens
// with the recording's two header lines, each batch holds whole event
// lines, and the lines read exactly as a recording file's do.

#include "replay/recording.hpp"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace live {

struct StreamLines {
    // The events of a batch, or why its lines are refused (English). The
    // first batch opens with the header.
    static std::variant<std::vector<replay::Event>, std::string> read(std::string_view lines,
                                                                      bool first);
};

} // namespace live
