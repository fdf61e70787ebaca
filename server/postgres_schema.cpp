#include "postgres_schema.hpp"

#include <charconv>
#include <string>

namespace board {

namespace {

// Any constant shared by every server of this program; "orbitrix" in ASCII.
constexpr const char* migration_lock = "SELECT pg_advisory_xact_lock(8030589290619758968)";

} // namespace

void migrate_postgres(pq::Connection& conn) {
    pq::Transaction transaction(conn);
    conn.exec(migration_lock);
    conn.script("CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)");
    const pq::Result stored = conn.exec("SELECT value FROM meta WHERE key = 'schema_version'");
    int version = 0;
    if (PQntuples(stored.get()) == 1) {
        const std::string text = pq::text_at(stored.get(), 0, 0);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
        if (error != std::errc() || end != text.data() + text.size() || version < 0) {
            throw StoreError("the database's schema_version is not a number: " + text);
        }
    }
    if (version > postgres_schema_version) {
        throw StoreError("the database's schema version " + std::to_string(version) +
                         " is later than this server knows (" +
                         std::to_string(postgres_schema_version) + ")");
    }
    if (version == postgres_schema_version) {
        return; // the transaction only read: its rollback is its end
    }
    for (int step = version; step < postgres_schema_version; ++step) {
        conn.script(POSTGRES_MIGRATIONS[step]);
    }
    conn.exec("INSERT INTO meta (key, value) VALUES ('schema_version', $1) "
              "ON CONFLICT (key) DO UPDATE SET value = excluded.value",
              {pq::integer(postgres_schema_version)});
    transaction.commit();
}

} // namespace board
