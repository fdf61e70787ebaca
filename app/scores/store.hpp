#pragma once
// The table on disk: read as it stands, and games added to it in one
// locked read-merge-write that replaces the file atomically.

#include "app/scores/entry.hpp"
#include "app/scores/files.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace scores {

struct Loaded {
    std::vector<Entry> table;
    files::Problem problem; // "PATH line 3: not understood", "PATH: cannot read: ..."
};

// A missing file is an empty table. Takes no lock: the file is only ever
// replaced whole.
Loaded load(const std::string& path);

struct StoreOptions {
    int lock_tries = 200; // 10 ms apart: 2 s
    std::function<files::Problem(const std::string&, const std::string&)> replace = files::replace;
};

struct Recorded {
    std::vector<std::optional<int>> places; // for each game, as merge() gives it
    files::Problem problem;                 // nothing was written when set
};

// A file not understood is left as it is, byte for byte.
Recorded record(const std::string& path, const std::vector<Entry>& games,
                const StoreOptions& options = {});

} // namespace scores
