#pragma once
// The in-memory console: a cell screen, and a platform with scripted keys,
// a virtual clock and logs of the tones and console requests. Tests, tools
// and the bench run on it; the program never does.

#include "console/cell_screen.hpp"
#include "console/current.hpp"
#include "console/platform.hpp"

#include <cstdint>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// The in-memory console's screen.
using MemoryScreen = CellScreen;

struct Tone {
    int hz;
    int ms;
    std::int64_t at_ms; // the virtual clock when it started
    friend bool operator==(const Tone&, const Tone&) = default;
};

struct ConsoleRequest {
    enum class Kind { cursor_info, full_screen } kind;
    int a = 0; // cursor size
    int b = 0; // visible
    friend bool operator==(const ConsoleRequest&, const ConsoleRequest&) = default;
};

// Thrown when a test's script runs dry: a key is awaited that will never
// come, or the virtual clock passes its limit. It ends a runaway game.
struct ScriptExhausted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class MemoryPlatform : public Platform {
  public:
    // A key becomes available once the virtual clock reaches at_ms.
    void push_key(int code, std::int64_t at_ms = 0);
    void push_keys(std::string_view keys, std::int64_t at_ms = 0);
    std::size_t keys_left() const { return keys_.size(); }

    // The next rand() calls return these values, in order; once they are
    // used up the seeded generator takes over again.
    void script_rand(std::initializer_list<int> draws);
    std::size_t scripted_draws_left() const { return draws_.size(); }
    std::size_t rand_calls() const { return rand_calls_; }
    std::optional<unsigned> last_seed() const { return last_seed_; }

    std::int64_t now_ms() const { return now_ms_; }
    void set_time(std::int64_t seconds) { epoch_seconds_ = seconds; }
    void set_time_limit_ms(std::int64_t limit) { limit_ms_ = limit; }

    const std::vector<Tone>& tones() const { return tones_; }
    const std::vector<int>& sleeps() const { return sleeps_; }
    const std::vector<ConsoleRequest>& requests() const { return requests_; }
    void clear_logs();

    bool kbhit() override;
    int getch() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    void set_cursor_info(int size, bool visible) override;
    void request_full_screen() override;
    std::int64_t time() override;
    int rand() override;
    void srand(unsigned seed) override;

  private:
    struct Key {
        int code;
        std::int64_t at_ms;
    };
    void advance(std::int64_t ms);

    std::deque<Key> keys_;
    std::deque<int> draws_;
    std::size_t rand_calls_ = 0;
    std::optional<unsigned> last_seed_;
    std::int64_t now_ms_ = 0;
    std::int64_t epoch_seconds_ = 1'700'000'000;
    std::int64_t limit_ms_ = 24LL * 3600 * 1000;
    std::vector<Tone> tones_;
    std::vector<int> sleeps_;
    std::vector<ConsoleRequest> requests_;
};

// Both halves, installed for the object's lifetime.
struct MemoryConsole {
    MemoryScreen screen;
    MemoryPlatform platform;
    Installation installation{screen, platform};
};

} // namespace console
