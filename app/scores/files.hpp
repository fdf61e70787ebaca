#pragma once
// The few file-system calls the table needs, each done the safe way for its
// platform. Paths are UTF-8; a problem comes back as a short English text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scores::files {

using Problem = std::optional<std::string>;

// The directories above the file that are missing, each made 0700 on POSIX.
Problem make_parent_directories(const std::string& file);

// An exclusive lock on a small file of its own: the table itself is
// replaced by rename, which would leave a lock on it behind with the old
// inode. Released when destroyed.
class Lock {
  public:
    Lock(Lock&& other) noexcept;
    Lock& operator=(Lock&&) = delete;
    ~Lock();

    struct Try;
    // One attempt, never waits.
    static Try take(const std::string& lock_file);

  private:
    explicit Lock(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

struct Lock::Try {
    std::optional<Lock> lock; // neither set: someone else holds it
    Problem problem;
};

struct Read {
    bool exists = false;
    std::string content;
    Problem problem;
};
Read read_whole(const std::string& file);

// Written, flushed to the disk and closed; with the mode of like_file when
// that exists.
Problem write_durably(const std::string& file, std::string_view content,
                      const std::string& like_file);

// Atomic: whoever reads `to` sees the old file or the new, never half.
Problem replace(const std::string& from, const std::string& to);

// Makes a rename in the file's directory last through a crash.
void sync_directory_of(const std::string& file);

void remove(const std::string& file);

std::optional<std::string> environment(const char* name);
// The account's home from the user database, when HOME is not set.
std::optional<std::string> account_home();

} // namespace scores::files
