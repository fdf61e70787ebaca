#pragma once
// Each engine's schema, one text per version: migrating a database from
// version v runs the texts after v in order, then records the last one.
// The texts live in server/schema/ and are built into the program.

namespace board {

extern const char SQLITE_SCHEMA_1[];

inline constexpr const char* SQLITE_MIGRATIONS[] = {SQLITE_SCHEMA_1};

} // namespace board
