#include "console/memory_console.hpp"

#include <algorithm>

namespace console {

void MemoryPlatform::push_key(int code, std::int64_t at_ms) {
    keys_.push_back(Key{code, at_ms});
}

void MemoryPlatform::push_keys(std::string_view keys, std::int64_t at_ms) {
    for (const char k : keys)
        push_key(static_cast<unsigned char>(k), at_ms);
}

void MemoryPlatform::script_rand(std::initializer_list<int> draws) {
    draws_.insert(draws_.end(), draws.begin(), draws.end());
}

void MemoryPlatform::clear_logs() {
    tones_.clear();
    sleeps_.clear();
    requests_.clear();
}

void MemoryPlatform::advance(std::int64_t ms) {
    now_ms_ += std::max<std::int64_t>(0, ms);
    if (now_ms_ > limit_ms_)
        throw ScriptExhausted("virtual clock passed its limit");
}

bool MemoryPlatform::kbhit() {
    return !keys_.empty() && keys_.front().at_ms <= now_ms_;
}

int MemoryPlatform::getch() {
    if (keys_.empty())
        throw ScriptExhausted("a key was awaited but the script has none left");
    const Key key = keys_.front();
    keys_.pop_front();
    if (key.at_ms > now_ms_)
        advance(key.at_ms - now_ms_);
    return key.code;
}

void MemoryPlatform::sleep(int ms) {
    sleeps_.push_back(ms);
    advance(ms);
}

void MemoryPlatform::beep(int hz, int ms) {
    tones_.push_back(Tone{hz, ms, now_ms_});
    advance(ms);
}

void MemoryPlatform::set_cursor_info(int size, bool visible) {
    requests_.push_back(ConsoleRequest{ConsoleRequest::Kind::cursor_info, size, visible ? 1 : 0});
}

void MemoryPlatform::request_full_screen() {
    requests_.push_back(ConsoleRequest{ConsoleRequest::Kind::full_screen});
}

std::int64_t MemoryPlatform::time() {
    return epoch_seconds_ + now_ms_ / 1000;
}

int MemoryPlatform::rand() {
    ++rand_calls_;
    if (!draws_.empty()) {
        const int v = draws_.front();
        draws_.pop_front();
        return v;
    }
    return Platform::rand();
}

void MemoryPlatform::srand(unsigned seed) {
    last_seed_ = seed;
    Platform::srand(seed);
}

} // namespace console
