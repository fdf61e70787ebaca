#pragma once
// Who sent a request, when proxies stand between the client and the
// server: the addresses of trusted proxies (single addresses or CIDR
// blocks, IPv4 or IPv6), and the rule that picks the client from the peer
// and its X-Forwarded-For. An IPv4 address written as IPv6
// (::ffff:a.b.c.d) is the IPv4 address, wherever it is read.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board::http {

struct Address {
    bool v4 = false;
    std::array<std::uint8_t, 16> bytes{}; // IPv4 in the first 4
};

struct Cidr {
    Address base; // its bits past the prefix are zero
    int prefix = 0;
};

// A bare address, IPv4 dotted or IPv6 as inet_pton reads it (no port, no
// brackets, no zone). v4-mapped IPv6 comes back as IPv4.
std::optional<Address> parse_address(std::string_view text);

// ADDR or ADDR/PREFIX (0 to 32 for IPv4, 0 to 128 for IPv6); a bare
// address is a block of one. A v4-mapped IPv6 block of /96 or more is the
// IPv4 block. Bits set past the prefix are refused: "10.0.0.1/8" is a typo.
std::optional<Cidr> parse_cidr(std::string_view text);

// The canonical text: dotted IPv4, compressed lower-case IPv6.
std::string address_text(const Address& address);

// The canonical text of an address, or the text as it is when it is none
// (a socket's peer is always an address; a test may name anything).
std::string normalised(std::string_view text);

bool in_block(const Cidr& block, const Address& address);
bool trusted(const std::vector<Cidr>& proxies, const Address& address);

// The client: the peer unless the peer is a trusted proxy; then the
// rightmost X-Forwarded-For entry that is not itself a trusted proxy (the
// leftmost when all are). No header, an empty one, or any entry that is not
// a bare address: the peer. `forwarded` is every X-Forwarded-For header's
// value, joined by commas in the order they came.
std::string client_address(std::string_view peer, std::string_view forwarded,
                           const std::vector<Cidr>& proxies);

} // namespace board::http
