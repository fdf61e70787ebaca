#include "server/pages/run_cast.hpp"

#include "replay/asciicast.hpp"
#include "replay/recording_file.hpp"

#include <variant>

namespace board::pages {

std::optional<std::string> run_cast(Store& store, std::int64_t run_id) {
    if (auto kept = store.cast(run_id))
        return kept;
    const std::optional<std::string> bytes = store.recording(run_id);
    if (!bytes)
        return std::nullopt;
    const std::string name = "run " + std::to_string(run_id);
    auto recording = replay::read_recording(*bytes);
    if (const auto* refusal = std::get_if<replay::Refusal>(&recording))
        throw StoreError(replay::refusal_message(name, *refusal));
    auto cast = replay::asciicast(std::get<replay::Recording>(recording), name);
    if (const auto* refusal = std::get_if<replay::CastRefusal>(&cast))
        throw StoreError(refusal->message.substr(0, refusal->message.find('\n')));
    // Two first visits at once both make it; either keeps the same text.
    store.keep_cast(run_id, std::get<std::string>(cast));
    return std::get<std::string>(std::move(cast));
}

} // namespace board::pages
