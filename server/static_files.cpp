#include "server/static_files.hpp"

#include "common/file_descriptor.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace board {
namespace {

// The web folder holds a stylesheet, scripts and an icon; anything past
// this is no file of its.
constexpr off_t LARGEST_FILE = off_t{32} << 20;

} // namespace

std::optional<std::string> read_static_file(const std::string& web_dir,
                                            const std::vector<std::string>& segments) {
    if (segments.empty())
        return std::nullopt;
    common::FileDescriptor folder(::open(web_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.open())
        return std::nullopt;
    int parent = folder.get();
    std::vector<std::unique_ptr<common::FileDescriptor>> below;
    for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
        below.push_back(std::make_unique<common::FileDescriptor>(::openat(
            parent, segments[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)));
        if (!below.back()->open())
            return std::nullopt;
        parent = below.back()->get();
    }
    // O_NONBLOCK: a FIFO put in the folder does not hold the thread.
    common::FileDescriptor file(
        ::openat(parent, segments.back().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat about {};
    if (!file.open() || ::fstat(file.get(), &about) != 0 || !S_ISREG(about.st_mode) ||
        about.st_size > LARGEST_FILE)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(about.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace board
