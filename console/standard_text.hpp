#pragma once
// The program's own lines on standard output and error, outside the
// session: UTF-8 text, names as players typed them. A Windows console shows
// bytes in its code page, which is seldom UTF-8, so there the text goes to
// the console as characters; a file, a pipe or a terminal gets the bytes.

#include <ostream>
#include <sstream>
#include <string_view>

namespace console {

enum class Standard { output, error };

// False when the text could not all be written.
bool write_standard(Standard to, std::string_view utf8);

// An ostream over write_standard; its text goes out at each flush and at
// the end, and a failed write sets badbit there.
class StandardText : public std::ostream {
  public:
    explicit StandardText(Standard to) : std::ostream(&buffer_), buffer_(to) {}
    ~StandardText() override { flush(); }
    StandardText(const StandardText&) = delete;
    StandardText& operator=(const StandardText&) = delete;

  private:
    class Buffer : public std::stringbuf {
      public:
        explicit Buffer(Standard to) : to_(to) {}

      protected:
        int sync() override {
            // str(), not view(): emscripten's C++ library has no view() yet.
            const bool written = write_standard(to_, str());
            str({});
            return written ? 0 : -1;
        }

      private:
        Standard to_;
    };

    Buffer buffer_;
};

} // namespace console
