#include "app/scores/files.hpp"

#include <windows.h>

#include <utility>
#include <vector>

namespace scores::files {
namespace {

std::wstring wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring out(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size,
                                                                 nullptr, 0, nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
    return out;
}

std::string error_text(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = length == 0 ? "error " + std::to_string(error) : utf8({text, length});
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.'))
        out.pop_back();
    return out;
}

std::string directory_of(const std::string& file) {
    const std::size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? "." : file.substr(0, slash);
}

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

  private:
    HANDLE handle_;
};

// Readers and writers share the file, and a reader never stops the table
// from being replaced under it.
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

Problem make_parent_directories(const std::string& file) {
    const std::string directory = directory_of(file);
    DWORD last_error = 0;
    // Each prefix up to a separator; those that are a drive or a share fail
    // harmlessly, and only whether the directory stands in the end counts.
    for (std::size_t at = directory.find_first_of("\\/", 1);;
         at = directory.find_first_of("\\/", at + 1)) {
        if (!CreateDirectoryW(wide(directory.substr(0, at)).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            last_error = GetLastError();
        if (at == std::string::npos)
            break;
    }
    const DWORD found = GetFileAttributesW(wide(directory).c_str());
    if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return "cannot make the directory " + directory + ": " +
           error_text(last_error != 0 ? last_error : ERROR_PATH_NOT_FOUND);
}

Lock::Lock(Lock&& other) noexcept
    : handle_(std::exchange(other.handle_, reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE))) {
}

Lock::~Lock() {
    const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle); // drops the lock with it
}

Lock::Try Lock::take(const std::string& lock_file) {
    Handle file(CreateFileW(wide(lock_file).c_str(), GENERIC_READ | GENERIC_WRITE, SHARE_ALL,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return {std::nullopt, "cannot open " + lock_file + ": " + error_text(GetLastError())};
    OVERLAPPED whole{};
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &whole)) {
        if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
            return {};
        return {std::nullopt, "cannot lock " + lock_file + ": " + error_text(GetLastError())};
    }
    return {Lock(reinterpret_cast<std::intptr_t>(file.release())), std::nullopt};
}

Read read_whole(const std::string& file) {
    Handle handle(CreateFileW(wide(file).c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return {};
        return {false, {}, error_text(error)};
    }
    Read read{true, {}, std::nullopt};
    std::vector<char> chunk(4096);
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(handle.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &n, nullptr))
            return {true, {}, error_text(GetLastError())};
        if (n == 0)
            return read;
        read.content.append(chunk.data(), n);
    }
}

Problem write_durably(const std::string& file, std::string_view content,
                      const std::string& /*like_file*/) {
    Handle handle(CreateFileW(wide(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid())
        return error_text(GetLastError());
    while (!content.empty()) {
        DWORD n = 0;
        if (!WriteFile(handle.get(), content.data(), static_cast<DWORD>(content.size()), &n,
                       nullptr) ||
            n == 0)
            return error_text(n == 0 && GetLastError() == 0 ? ERROR_DISK_FULL : GetLastError());
        content.remove_prefix(n);
    }
    if (!FlushFileBuffers(handle.get()))
        return error_text(GetLastError());
    if (!CloseHandle(handle.release()))
        return error_text(GetLastError());
    return std::nullopt;
}

Problem replace(const std::string& from, const std::string& to) {
    if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return error_text(GetLastError());
    return std::nullopt;
}

void sync_directory_of(const std::string& /*file*/) {
    // MOVEFILE_WRITE_THROUGH has already waited for the move to reach the disk.
}

void remove(const std::string& file) {
    DeleteFileW(wide(file).c_str());
}

std::optional<std::string> environment(const char* name) {
    const std::wstring wide_name = wide(name);
    const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wide_name.c_str(), value.data(), size));
    return utf8(value);
}

std::optional<std::string> account_home() {
    return std::nullopt;
}

} // namespace scores::files
