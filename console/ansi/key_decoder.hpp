#pragma once
// Terminal input bytes to the key codes a PC console gives: characters as
// their code page byte, Enter 13, Backspace 8, Esc 27, and keys without a
// character as a pair (224 and a scan code for the cursor and editing keys,
// 0 and 59..68 for F1..F10). Every other escape sequence the terminal sends
// (modified keys, Alt+key, mouse and focus reports, paste markers, replies)
// is swallowed whole: the game takes a stray 27 for "leave".
//
// Pure: bytes go in with the time they were read, codes come out. Whether a
// lone ESC is the Esc key or the start of a sequence still on its way is
// only known once the input has been quiet for a while, so the caller tells
// the decoder when it looked and found nothing (`idle`).

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace console::ansi {

class KeyDecoder {
  public:
    // Keys typed as UTF-8, or in a one-byte charset where each byte from
    // 128 up is the character `typed_high_bytes` gives it (0: none).
    explicit KeyDecoder(std::vector<char32_t> typed_high_bytes = {})
        : typed_high_bytes_(std::move(typed_high_bytes)) {}

    // An ESC followed by nothing for this long is the Esc key.
    static constexpr std::int64_t lone_escape_ms = 40;
    // A sequence left unfinished for this long is dropped.
    static constexpr std::int64_t stale_sequence_ms = 300;

    void feed(std::span<const std::uint8_t> bytes, std::int64_t now_ms);
    // No byte came in up to now_ms: settles what waited on silence.
    void idle(std::int64_t now_ms);
    // When `idle` would settle something; none while nothing waits.
    std::optional<std::int64_t> deadline() const;

    bool has_key() const { return !codes_.empty(); }
    std::size_t keys_waiting() const { return codes_.size(); }
    // The next code, 0..255; only when has_key().
    int take();
    // Drops every decoded code (a partly read sequence stays).
    void discard_keys() { codes_.clear(); }

  private:
    enum class State {
        ground,
        escape,         // ESC seen
        csi,            // ESC [
        csi_linux_fkey, // ESC [ [ : the Linux console's F1..F5
        mouse_x10,      // ESC [ M and three raw bytes
        ss3,            // ESC O
        control_string, // OSC, DCS, SOS, PM, APC: up to ST or BEL
        string_escape,  // ESC inside a control string
        single_after,   // ESC N (SS2) and similar: one more byte
        utf8,
    };

    void byte(std::uint8_t b);
    void ground(std::uint8_t b);
    void escape(std::uint8_t b);
    void csi(std::uint8_t b);
    void ss3(std::uint8_t b);
    void utf8(std::uint8_t b);
    void finish_csi(char final_byte);
    void finish_ss3(char final_byte);
    void start_utf8(std::uint8_t lead, bool keep);
    void one_byte_character(std::uint8_t b);
    void reset() {
        state_ = State::ground;
        params_.clear();
    }
    void key(int code) { codes_.push_back(code); }
    void pair(int prefix, int scan) {
        key(prefix);
        key(scan);
    }

    State state_ = State::ground;
    std::string params_; // of the CSI or SS3 under way
    int mouse_bytes_left_ = 0;
    char32_t utf8_value_ = 0;
    int utf8_left_ = 0;
    int utf8_length_ = 0;
    bool utf8_keep_ = true; // false for Alt+letter: decoded, then dropped
    bool after_cr_ = false;
    std::int64_t last_byte_ms_ = 0;
    std::deque<int> codes_;
    std::vector<char32_t> typed_high_bytes_;
};

} // namespace console::ansi
