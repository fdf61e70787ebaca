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

class StreamLines {
  public:
    // The events of the next batch, or why its lines are refused (English).
    std::variant<std::vector<replay::Event>, std::string> read(std::string_view lines);

  private:
    bool opened_ = false; // the first batch brought the header
};

} // namespace live
