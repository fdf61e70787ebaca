#pragma once
// Where PostgreSQL's dialect differs from the store's one SQL text, and how
// its failures are told apart. Upserts (ON CONFLICT), RETURNING and row
// comparisons are spelt alike in both engines; what is left is here.

#include "server/sql/connection.hpp"

#include <string>
#include <string_view>

namespace board::sql {

// ?1, ?2, ... become $1, $2, ...; quoted text and names are left as they are.
std::string postgres_text(std::string_view sql);

// A failed statement's kind, from its SQLSTATE (empty when the server sent
// none) and whether libpq still holds a connection.
Failure postgres_failure(std::string_view sqlstate, bool connection_ok);

// A BYTEA column as the server sends it in text form ("\x" and hex).
std::string postgres_bytes(std::string_view hex);

} // namespace board::sql
