// The table's lock on POSIX: a record lock on a file of its own.
#include "app/scores/files.hpp"

#include "common/file_descriptor.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace scores::files {
namespace {

// Where the system has them, locks that belong to the open file rather than
// to the process: another descriptor of the same process then meets the
// lock too, and closing one does not drop it.
#ifdef F_OFD_SETLK
constexpr int SET_LOCK = F_OFD_SETLK;
#else
constexpr int SET_LOCK = F_SETLK;
#endif

} // namespace

Lock::Lock(Lock&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

Lock::~Lock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_)); // drops the lock with it
}

Lock::Try Lock::take(const std::string& lock_file) {
    common::FileDescriptor fd(::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        return {std::nullopt, "cannot open " + lock_file + ": " + std::strerror(errno)};
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd.get(), SET_LOCK, &whole) != 0) {
        if (errno == EACCES || errno == EAGAIN || errno == EINTR)
            return {};
        return {std::nullopt, "cannot lock " + lock_file + ": " + std::strerror(errno)};
    }
    return {Lock(fd.release()), std::nullopt};
}

} // namespace scores::files
