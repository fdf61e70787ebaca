#include "server/pages/run_cast.hpp"

#include "replay/asciicast.hpp"
#include "replay/recording_file.hpp"

#include <variant>

namespace board::pages {

std::shared_ptr<const std::string> run_cast(Store& store, CastCache& casts, std::int64_t run_id) {
    if (auto kept = casts.find(run_id))
        return kept;
    const std::optional<std::string> bytes = store.recording(run_id);
    if (!bytes)
        return nullptr;
    const std::string name = "run " + std::to_string(run_id);
    auto recording = replay::read_recording(*bytes);
    if (const auto* refusal = std::get_if<replay::Refusal>(&recording))
        throw StoreError(replay::refusal_message(name, *refusal));
    auto cast = replay::asciicast(std::get<replay::Recording>(recording), name);
    if (const auto* refusal = std::get_if<replay::CastRefusal>(&cast))
        throw StoreError(refusal->message.substr(0, refusal->message.find('\n')));
    // Two first visits at once both make it; either keeps the same text.
    auto made = std::make_shared<const std::string>(std::get<std::string>(std::move(cast)));
    casts.keep(run_id, made);
    return made;
}

} // namespace board::pages
