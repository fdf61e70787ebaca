#pragma once
// The recording's stream of a live session: every byte goes to the local
// file as before and to the feed, whose whole lines become batches. The
// file stays the session's record whatever happens to the stream.

#include "app/live/live_feed.hpp"

#include <ostream>
#include <streambuf>

namespace live {

class FeedTeeBuffer : public std::streambuf {
  public:
    FeedTeeBuffer(std::streambuf& file, Feed& feed) : file_(file), feed_(feed) {}

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const std::streamsize written = file_.sputn(s, n);
        feed_.write(std::string_view(s, static_cast<std::size_t>(n)));
        return written;
    }
    int sync() override { return file_.pubsync(); }

  private:
    std::streambuf& file_;
    Feed& feed_;
};

// An ostream over the tee, for whoever writes the recording.
class FeedTee : public std::ostream {
  public:
    FeedTee(std::ostream& file, Feed& feed)
        : std::ostream(&buffer_), buffer_(*file.rdbuf(), feed) {}

  private:
    FeedTeeBuffer buffer_;
};

} // namespace live
