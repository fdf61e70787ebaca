#include "app/scores/files.hpp"

#include "common/file_descriptor.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace scores::files {
namespace {

std::string error_text(int error) {
    return std::strerror(error);
}

std::string directory_of(const std::string& file) {
    const std::size_t slash = file.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

Problem write_all(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return error_text(n < 0 ? errno : ENOSPC);
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

} // namespace

Problem make_parent_directories(const std::string& file) {
    const std::string directory = directory_of(file);
    int last_error = 0;
    for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        const std::string prefix = directory.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            last_error = errno;
        if (slash == std::string::npos)
            break;
    }
    struct stat found {};
    if (::stat(directory.c_str(), &found) == 0 && S_ISDIR(found.st_mode))
        return std::nullopt;
    return "cannot make the directory " + directory + ": " +
           error_text(last_error != 0 ? last_error : ENOTDIR);
}

Read read_whole(const std::string& file) {
    common::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return {};
        return {false, {}, error_text(errno)};
    }
    Read read{true, {}, std::nullopt};
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {true, {}, error_text(errno)};
        if (n == 0)
            return read;
        read.content.append(chunk, static_cast<std::size_t>(n));
    }
}

Problem write_durably(const std::string& file, std::string_view content,
                      const std::string& like_file) {
    common::FileDescriptor fd(
        ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (fd.get() < 0)
        return error_text(errno);
    struct stat like {};
    if (::stat(like_file.c_str(), &like) == 0)
        ::fchmod(fd.get(), like.st_mode & 07777);
    if (Problem problem = write_all(fd.get(), content))
        return problem;
    if (::fsync(fd.get()) != 0)
        return error_text(errno);
    if (::close(fd.release()) != 0)
        return error_text(errno);
    return std::nullopt;
}

Problem replace(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return error_text(errno);
    return std::nullopt;
}

void sync_directory_of(const std::string& file) {
    const common::FileDescriptor fd(
        ::open(directory_of(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

void remove(const std::string& file) {
    ::unlink(file.c_str());
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return value;
}

std::optional<std::string> account_home() {
    const passwd* account = ::getpwuid(::getuid());
    if (account == nullptr || account->pw_dir == nullptr || account->pw_dir[0] == '\0')
        return std::nullopt;
    return account->pw_dir;
}

} // namespace scores::files
