// The addresses a stranger names: the first line is read as the trusted
// proxies (one CIDR a space), the second as the peer, the rest as
// X-Forwarded-For. Whatever the bytes, no crash or sanitizer's report; a
// block read once reads the same from its own text; and the client chosen
// is the peer or one of the forwarded entries, in canonical form.
#include "fuzz/fault.hpp"
#include "server/http/client_address.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view line(std::string_view& text) {
    const auto end = text.find('\n');
    const std::string_view first = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    return first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace board::http;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string_view proxies_line = line(text);
    const std::string_view peer = line(text);
    const std::string_view forwarded = text;

    std::vector<Cidr> proxies;
    while (!proxies_line.empty()) {
        const auto space = proxies_line.find(' ');
        const std::string_view one = proxies_line.substr(0, space);
        proxies_line =
            space == std::string_view::npos ? std::string_view{} : proxies_line.substr(space + 1);
        const auto block = parse_cidr(one);
        if (!block)
            continue;
        const int width = block->base.v4 ? 32 : 128;
        if (block->prefix < 0 || block->prefix > width)
            fault("a prefix wider than its address was taken");
        if (!in_block(*block, block->base))
            fault("a block does not hold its own base");
        const std::string again = address_text(block->base) + "/" + std::to_string(block->prefix);
        const auto reread = parse_cidr(again);
        if (!reread || reread->prefix != block->prefix || reread->base.v4 != block->base.v4 ||
            reread->base.bytes != block->base.bytes)
            fault("a block's own text reads otherwise");
        proxies.push_back(*block);
    }

    if (const auto address = parse_address(peer)) {
        const std::string shown = address_text(*address);
        if (!address->v4 && shown.starts_with("::ffff:") && shown.find('.') != std::string::npos)
            fault("a v4-mapped address was kept as IPv6");
        if (normalised(address_text(*address)) != address_text(*address))
            fault("a canonical text is not canonical");
    }

    const std::string client = client_address(peer, forwarded, proxies);
    if (client == normalised(peer))
        return 0;
    if (!parse_address(client))
        fault("a client that is no address and not the peer");
    bool named = false;
    std::string_view rest = forwarded;
    while (!named) {
        const auto comma = rest.find(',');
        std::string_view entry = rest.substr(0, comma);
        while (!entry.empty() && (entry.front() == ' ' || entry.front() == '\t'))
            entry.remove_prefix(1);
        while (!entry.empty() && (entry.back() == ' ' || entry.back() == '\t'))
            entry.remove_suffix(1);
        named = normalised(entry) == client;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (!named)
        fault("a client neither the peer nor forwarded");
    return 0;
}
