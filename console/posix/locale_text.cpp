#include "console/posix/locale_text.hpp"

#include <cerrno>
#include <iconv.h>

namespace console::posix {
namespace {

// How many bytes of a broken UTF-8 character `bytes` starts with: the first
// and the continuation bytes after it, so that it costs one "?" and the
// character after it is kept.
std::size_t broken_length(std::string_view bytes) {
    std::size_t n = 1;
    while (n < bytes.size() && (static_cast<unsigned char>(bytes[n]) & 0xc0) == 0x80)
        ++n;
    return n;
}

class Converter {
  public:
    explicit Converter(const char* to) : cd_(iconv_open(to, "UTF-8")) {}
    ~Converter() {
        if (opened())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool opened() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::string convert(std::string_view utf8) {
        std::string out;
        char chunk[256];
        while (!utf8.empty()) {
            char* in = const_cast<char*>(utf8.data());
            std::size_t in_left = utf8.size();
            char* to = chunk;
            std::size_t to_left = sizeof chunk;
            const std::size_t done = iconv(cd_, &in, &in_left, &to, &to_left);
            const int error = errno;
            out.append(chunk, static_cast<std::size_t>(to - chunk));
            utf8.remove_prefix(utf8.size() - in_left);
            if (done != static_cast<std::size_t>(-1) || utf8.empty())
                continue;
            if (error == EILSEQ || error == EINVAL) {
                out += '?';
                utf8.remove_prefix(broken_length(utf8));
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            } else if (error != E2BIG) {
                out += utf8; // no way on: the rest as it is rather than lost
                break;
            }
        }
        return out;
    }

  private:
    iconv_t cd_;
};

} // namespace

std::string in_codeset(std::string_view utf8, const char* codeset) {
    const std::string_view name = codeset != nullptr ? codeset : "";
    if (name.empty() || name == "UTF-8")
        return std::string(utf8);
    Converter converter((std::string(name) + "//TRANSLIT").c_str());
    if (!converter.opened())
        return std::string(utf8);
    return converter.convert(utf8);
}

} // namespace console::posix
