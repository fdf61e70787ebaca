#pragma once
// A thin hold on libpq: the connection and results freed by their owners,
// statements only with bound parameters, and every failure a StoreError
// with libpq's first line.

#include "store.hpp"

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board::pq {

struct ResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

// A statement's parameter: text, raw bytes (sent in binary, for BYTEA), or
// SQL NULL.
struct Param {
    std::optional<std::string> value;
    bool binary = false;
};
Param text(std::string value);
Param integer(std::int64_t value);
Param bytes(std::string value);
Param null();

class Connection {
  public:
    explicit Connection(const std::string& url);

    // Runs one statement; rows come back as text, or as raw bytes when
    // `binary_rows`. Throws StoreError when the statement fails.
    Result exec(const char* sql, const std::vector<Param>& params = {}, bool binary_rows = false);
    // Several statements with no parameters (the schema's scripts).
    void script(const char* sql);
    // A connection the server dropped is opened again before the next use.
    void reconnect_if_lost();

  private:
    struct Finish {
        void operator()(PGconn* conn) const { PQfinish(conn); }
    };
    std::unique_ptr<PGconn, Finish> conn_;
};

// A transaction rolled back unless committed.
class Transaction {
  public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    Connection& conn_;
    bool open_ = true;
};

std::int64_t int_at(const PGresult* result, int row, int column);
std::string text_at(const PGresult* result, int row, int column);
bool null_at(const PGresult* result, int row, int column);
// The rows an UPDATE or INSERT touched.
std::int64_t affected(const PGresult* result);

} // namespace board::pq
