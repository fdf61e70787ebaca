#pragma once
// Databases on the throwaway cluster that scripts/pg-cluster started for the
// tests (its state directory in ORBITRIX_PG_STATE): each test gets a schema
// of its own, so tests run side by side on one cluster.

#include <string>

namespace board::testing {

// The cluster's URL; throws when the cluster was not started.
std::string postgres_cluster_url();

// A URL whose tables live in a new, empty schema.
std::string fresh_postgres_database();

} // namespace board::testing
