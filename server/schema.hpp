#pragma once
// Each engine's schema, one text per version: migrating a database from
// version v runs the texts after v in order, then records the last one.
// The texts live in server/schema/ and are built into the program.

namespace board {

extern const char SQLITE_SCHEMA_1[];
extern const char SQLITE_SCHEMA_2[];
extern const char SQLITE_SCHEMA_3[];
extern const char SQLITE_SCHEMA_4[];
extern const char SQLITE_SCHEMA_5[];

inline constexpr const char* SQLITE_MIGRATIONS[] = {
    SQLITE_SCHEMA_1, SQLITE_SCHEMA_2, SQLITE_SCHEMA_3, SQLITE_SCHEMA_4, SQLITE_SCHEMA_5};

extern const char POSTGRES_SCHEMA_1[];
extern const char POSTGRES_SCHEMA_2[];
extern const char POSTGRES_SCHEMA_3[];
extern const char POSTGRES_SCHEMA_4[];
extern const char POSTGRES_SCHEMA_5[];

inline constexpr const char* POSTGRES_MIGRATIONS[] = {
    POSTGRES_SCHEMA_1, POSTGRES_SCHEMA_2, POSTGRES_SCHEMA_3, POSTGRES_SCHEMA_4, POSTGRES_SCHEMA_5};

} // namespace board
