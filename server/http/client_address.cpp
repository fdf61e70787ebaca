#include "server/http/client_address.hpp"

#include "server/http/field_text.hpp"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>

namespace board::http {
namespace {

constexpr std::array<std::uint8_t, 12> V4_MAPPED = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
// Longer than any address's text: what is longer is no address.
constexpr std::size_t LONGEST_ADDRESS = INET6_ADDRSTRLEN;

int width(const Address& a) {
    return a.v4 ? 32 : 128;
}

} // namespace

std::optional<Address> parse_address(std::string_view text) {
    if (text.empty() || text.size() >= LONGEST_ADDRESS)
        return std::nullopt;
    const std::string z(text); // inet_pton reads a NUL-terminated text
    if (z.find('\0') != std::string::npos)
        return std::nullopt;
    Address a;
    if (inet_pton(AF_INET, z.c_str(), a.bytes.data()) == 1) {
        a.v4 = true;
        return a;
    }
    if (inet_pton(AF_INET6, z.c_str(), a.bytes.data()) != 1)
        return std::nullopt;
    if (std::equal(V4_MAPPED.begin(), V4_MAPPED.end(), a.bytes.begin())) {
        Address v4;
        v4.v4 = true;
        std::copy(a.bytes.begin() + 12, a.bytes.end(), v4.bytes.begin());
        return v4;
    }
    return a;
}

std::optional<Cidr> parse_cidr(std::string_view text) {
    const auto slash = text.find('/');
    const auto address = parse_address(text.substr(0, slash));
    if (!address)
        return std::nullopt;
    Cidr block{*address, width(*address)};
    if (slash != std::string_view::npos) {
        const std::string_view digits = text.substr(slash + 1);
        int prefix = -1;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
        if (digits.empty() || digits.size() > 3 || error != std::errc{} ||
            end != digits.data() + digits.size() || prefix < 0)
            return std::nullopt;
        // A v4-mapped block names IPv4 addresses, its prefix counted from
        // the mapped form's 96 bits ahead of them.
        const bool mapped = address->v4 && text.substr(0, slash).find(':') != std::string::npos;
        if (mapped) {
            if (prefix < 96 || prefix > 128)
                return std::nullopt;
            prefix -= 96;
        }
        if (prefix > width(*address))
            return std::nullopt;
        block.prefix = prefix;
    }
    for (int bit = block.prefix; bit < width(block.base); ++bit)
        if (block.base.bytes[static_cast<std::size_t>(bit / 8)] & (0x80 >> (bit % 8)))
            return std::nullopt;
    return block;
}

std::string address_text(const Address& address) {
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(address.v4 ? AF_INET : AF_INET6, address.bytes.data(), text, sizeof text);
    return text;
}

std::string normalised(std::string_view text) {
    const auto address = parse_address(text);
    return address ? address_text(*address) : std::string(text);
}

bool in_block(const Cidr& block, const Address& address) {
    if (block.base.v4 != address.v4)
        return false;
    const int whole = block.prefix / 8;
    const auto whole_bytes = static_cast<std::size_t>(whole);
    if (!std::equal(block.base.bytes.begin(), block.base.bytes.begin() + whole,
                    address.bytes.begin()))
        return false;
    const int rest = block.prefix % 8;
    if (rest == 0)
        return true;
    const auto mask = static_cast<std::uint8_t>(0xff << (8 - rest));
    return (block.base.bytes[whole_bytes] & mask) == (address.bytes[whole_bytes] & mask);
}

bool trusted(const std::vector<Cidr>& proxies, const Address& address) {
    return std::any_of(proxies.begin(), proxies.end(),
                       [&](const Cidr& block) { return in_block(block, address); });
}

std::string client_address(std::string_view peer, std::string_view forwarded,
                           const std::vector<Cidr>& proxies) {
    const auto peer_address = parse_address(peer);
    if (!peer_address)
        return std::string(peer);
    const std::string peer_text = address_text(*peer_address);
    if (!trusted(proxies, *peer_address) || trimmed(forwarded).empty())
        return peer_text;
    std::vector<Address> chain;
    while (true) {
        const auto comma = forwarded.find(',');
        const auto entry = parse_address(trimmed(forwarded.substr(0, comma)));
        if (!entry)
            return peer_text; // one forged or broken entry: believe none
        chain.push_back(*entry);
        if (comma == std::string_view::npos)
            break;
        forwarded.remove_prefix(comma + 1);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if (!trusted(proxies, *it))
            return address_text(*it);
    return address_text(chain.front());
}

} // namespace board::http
