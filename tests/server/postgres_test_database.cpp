#include "postgres_test_database.hpp"

#include "server/pq.hpp"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace board::testing {

std::string postgres_cluster_url() {
    const char* state = std::getenv("ORBITRIX_PG_STATE");
    if (state == nullptr) {
        throw std::runtime_error("ORBITRIX_PG_STATE is not set: run through ctest, which starts "
                                 "the cluster (scripts/pg-cluster)");
    }
    std::ifstream file(std::string(state) + "/url");
    std::string url;
    if (!std::getline(file, url) || url.empty()) {
        throw std::runtime_error(std::string("no cluster's URL in ") + state + "/url");
    }
    return url;
}

std::string fresh_postgres_database() {
    static std::atomic<int> made{0};
    const std::string schema =
        "test_" + std::to_string(getpid()) + "_" + std::to_string(made.fetch_add(1));
    const std::string url = postgres_cluster_url();
    pq::Connection admin(url);
    admin.script(("CREATE SCHEMA " + schema).c_str());
    return url + (url.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
           schema;
}

} // namespace board::testing
