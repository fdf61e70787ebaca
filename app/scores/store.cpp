#include "app/scores/store.hpp"

#include "app/scores/table.hpp"
#include "app/scores/text_format.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

namespace scores {
namespace {

constexpr auto LOCK_RETRY = std::chrono::milliseconds(10);

std::string flaw_text(const std::string& path, const Flaw& flaw) {
    return path + " line " + std::to_string(flaw.line) + ": " +
           (flaw.later_version ? "written by a later version" : "not understood");
}

struct Taken {
    std::optional<files::Lock> lock;
    files::Problem problem;
};

Taken lock_within(const std::string& path, int tries) {
    for (int i = 0; i < tries; ++i) {
        files::Lock::Try attempt = files::Lock::take(path + ".lock");
        if (attempt.lock || attempt.problem)
            return {std::move(attempt.lock), std::move(attempt.problem)};
        std::this_thread::sleep_for(LOCK_RETRY);
    }
    return {std::nullopt, path + ": kept locked by another game for too long"};
}

} // namespace

Loaded load(const std::string& path) {
    const files::Read read = files::read_whole(path);
    if (read.problem)
        return {{}, path + ": cannot read: " + *read.problem};
    Parsed parsed = from_text(read.exists ? read.content : to_text({}));
    if (parsed.flaw)
        return {{}, flaw_text(path, *parsed.flaw)};
    return {std::move(parsed.table), std::nullopt};
}

Recorded record(const std::string& path, const std::vector<Entry>& games,
                const StoreOptions& options) {
    const auto failed = [&](std::string problem) {
        return Recorded{std::vector<std::optional<int>>(games.size()), std::move(problem)};
    };
    if (files::Problem problem = files::make_parent_directories(path))
        return failed(*problem);
    const Taken taken = lock_within(path, options.lock_tries);
    if (!taken.lock)
        return failed(*taken.problem);

    const Loaded old = load(path);
    if (old.problem)
        return failed(*old.problem + "; left as it is");
    Merged merged = merge(old.table, games);
    // Nothing to change: the disk is spared a write.
    if (std::none_of(merged.places.begin(), merged.places.end(),
                     [](const std::optional<int>& place) { return place.has_value(); }))
        return {std::move(merged.places), std::nullopt};

    const std::string temporary = path + ".new";
    files::Problem problem = files::write_durably(temporary, to_text(merged.table), path);
    if (!problem)
        problem = options.replace(temporary, path);
    if (problem) {
        files::remove(temporary);
        return failed(path + ": cannot write: " + *problem);
    }
    files::sync_directory_of(path);
    return {std::move(merged.places), std::nullopt};
}

} // namespace scores
