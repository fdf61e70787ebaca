#include "app/replay/commands.hpp"

#include "app/replay/recording_file.hpp"
#include "app/replay/recording_platform.hpp"
#include "app/replay/replaying_platform.hpp"
#include "app/replay/verify.hpp"
#include "console/current.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace replay {
namespace {

constexpr int REFUSED = 2;

const Recording* loaded_or_refused(const std::string& path,
                                   const std::variant<Recording, Refusal>& loaded) {
    if (const auto* refusal = std::get_if<Refusal>(&loaded)) {
        std::cerr << refusal_message(path, *refusal) << std::endl;
        return nullptr;
    }
    return &std::get<Recording>(loaded);
}

} // namespace

int record_on_console(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "orbitrix: " << path << ": cannot be written: " << std::strerror(errno)
                  << std::endl;
        return REFUSED;
    }
    return console::run_on_native_console([&out] {
        RecordingPlatform recorder(console::platform(), out);
        const console::Installation installed(console::screen(), recorder);
        return game::sessao(recorder);
    });
}

int replay_on_console(const std::string& path, int speed) {
    const auto loaded = load_recording(path);
    const Recording* recording = loaded_or_refused(path, loaded);
    if (recording == nullptr)
        return REFUSED;
    bool ran_out = false;
    const int status = console::run_on_native_console([&] {
        ReplayingPlatform player(console::platform(), *recording, Pace{speed, true});
        const console::Installation installed(console::screen(), player);
        try {
            return game::sessao();
        } catch (const console::SessionEnded&) {
            ran_out = player.ran_out();
            throw;
        }
    });
    if (ran_out || recording->cut_short)
        std::cerr << "orbitrix: " << path << " line " << recording->last_line
                  << ": the recording ends here, cut short: the replay ended early" << std::endl;
    return status;
}

int verify_file(const std::string& path) {
    const auto loaded = load_recording(path);
    const Recording* recording = loaded_or_refused(path, loaded);
    if (recording == nullptr)
        return REFUSED;
    return verify_recording(*recording, path, std::cout, std::cerr);
}

} // namespace replay
