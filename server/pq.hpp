#pragma once
// A thin hold on libpq: the connection and results freed by their owners,
// statements only with bound parameters, and every failure a sql::Error
// with libpq's first line and its kind.

#include "server/sql/connection.hpp"

#include <libpq-fe.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
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

    // Runs one statement; rows come back as text. Each text is parsed and
    // prepared on this connection once, at its first call, and then only
    // executed: a board page's statements cost their plan once a
    // connection, not once a request.
    Result exec(const char* sql, const std::vector<Param>& params = {});
    // Several statements with no parameters (the schema's scripts).
    void script(const char* sql);
    // The server closed the connection, or it broke.
    bool lost() const;

  private:
    struct Finish {
        void operator()(PGconn* conn) const { PQfinish(conn); }
    };
    std::unique_ptr<PGconn, Finish> conn_;
    std::map<std::string, std::string, std::less<>> prepared_; // text: statement's name
};

std::string text_at(const PGresult* result, int row, int column);

} // namespace board::pq
