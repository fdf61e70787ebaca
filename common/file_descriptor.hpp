#pragma once
// An open POSIX file descriptor, closed when it goes: -1 (a failed open)
// holds nothing. The table of scores and the server's static files both
// open and read through it.

#include <unistd.h>

#include <utility>

namespace common {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }
    // The descriptor, no longer closed here.
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

} // namespace common
