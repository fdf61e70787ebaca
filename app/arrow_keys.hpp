#pragma once
// The arrow keys turned into the letters that steer: an arrow arrives as the
// prefix 224 and then its scan code, which the game would ignore both of.
// Every other key, the prefix of a key without a character included, passes
// as it came, so only the four arrows change what the game reads.

#include "console/forwarding_platform.hpp"

#include <optional>

namespace app {

class ArrowKeys : public console::ForwardingPlatform {
  public:
    using ForwardingPlatform::ForwardingPlatform;

    bool kbhit() override { return held_ != NONE || inner().kbhit(); }
    int getch() override {
        if (held_ != NONE) {
            const int code = held_;
            held_ = NONE;
            return code;
        }
        const int code = inner().getch();
        if (code != EXTENDED)
            return code;
        // The scan code follows its prefix at once on every backend.
        const int scan = inner().getch();
        if (const std::optional<int> letter = letter_for(scan))
            return *letter;
        held_ = scan;
        return code;
    }

  private:
    static constexpr int EXTENDED = 224;
    static constexpr int NONE = -1; // no key code is negative

    static std::optional<int> letter_for(int scan) {
        switch (scan) {
        case 'K':
            return 'a';
        case 'M':
            return 'd';
        case 'H':
            return 'w';
        case 'P':
            return 's';
        default:
            return std::nullopt;
        }
    }

    // The second code of a key that is not an arrow, for the next read.
    int held_ = NONE;
};

} // namespace app
