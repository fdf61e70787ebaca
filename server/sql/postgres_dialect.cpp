#include "server/sql/postgres_dialect.hpp"

#include "console/digits.hpp"

namespace board::sql {

std::string postgres_text(std::string_view sql) {
    std::string out;
    out.reserve(sql.size());
    char quote = 0;
    for (const char ch : sql) {
        if (quote != 0) {
            quote = ch == quote ? 0 : quote;
        } else if (ch == '\'' || ch == '"') {
            quote = ch;
        } else if (ch == '?') {
            out += '$';
            continue;
        }
        out += ch;
    }
    return out;
}

Failure postgres_failure(std::string_view sqlstate, bool connection_ok) {
    // 08: connection exceptions; 57P01 to 57P03: the server shut down or
    // ended this session (pg_terminate_backend).
    if (!connection_ok || sqlstate.starts_with("08") || sqlstate.starts_with("57P"))
        return Failure::connection_lost;
    if (sqlstate == "23505")
        return Failure::unique_violation;
    return Failure::other;
}

std::string postgres_bytes(std::string_view hex) {
    if (!hex.starts_with("\\x") || hex.size() % 2 != 0)
        throw Error(Failure::other, "PostgreSQL: a BYTEA not in hex form");
    std::string bytes;
    bytes.reserve(hex.size() / 2 - 1);
    for (std::size_t i = 2; i < hex.size(); i += 2) {
        const int high = console::digit_value(hex[i]);
        const int low = console::digit_value(hex[i + 1]);
        if (high > 15 || low > 15)
            throw Error(Failure::other, "PostgreSQL: a BYTEA not in hex form");
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

} // namespace board::sql
