#pragma once
// The one door the board's store opens onto a database. A statement is one
// SQL text, its parameters numbered ?1, ?2, ... and always bound, never
// spliced in; each engine turns that text into its own dialect. Every
// failure is an Error whose kind tells what the caller may do about it.

#include "server/store.hpp"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace board::sql {

enum class Failure {
    unique_violation, // a row with that key is there already
    connection_lost,  // the database went away: this connection is spent
    other,
};

struct Error : StoreError {
    Error(Failure kind, const std::string& what) : StoreError(what), failure(kind) {}
    Failure failure;
};

// Bytes that are not text: a BLOB on SQLite, a BYTEA on PostgreSQL.
struct Blob {
    std::string_view bytes;
};
using Value = std::variant<std::nullptr_t, std::int64_t, std::string_view, Blob>;

// One statement, bound by position from 1, then stepped row by row.
class Statement {
  public:
    virtual ~Statement() = default;
    virtual void bind(int position, const Value& value) = 0;
    // Runs the statement on the first call; true while a row is there.
    virtual bool step() = 0;
    virtual bool is_null(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    // A text or blob column's bytes.
    virtual std::string text(int column) const = 0;
};

class Connection {
  public:
    virtual ~Connection() = default;
    virtual std::unique_ptr<Statement> prepare(const std::string& sql) = 0;
    // Several statements without parameters: the schema's scripts.
    virtual void exec(const std::string& script) = 0;
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    // Inside a transaction: holds off every other server migrating the
    // same database until this transaction ends.
    virtual void lock_schema() = 0;
    // Tells the other servers on this database `payload` on `channel`:
    // inside a transaction, once it commits. An engine that no two servers
    // share has nobody to tell.
    virtual void notify(const std::string& /*channel*/, const std::string& /*payload*/) {}
};

// Prepared and bound in one call, values in position order.
std::unique_ptr<Statement> query(Connection& conn, const std::string& sql,
                                 std::initializer_list<Value> values = {});

// A transaction rolled back unless committed.
class Transaction {
  public:
    explicit Transaction(Connection& conn) : conn_(conn) { conn_.begin(); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

  private:
    Connection& conn_;
    bool open_ = true;
};

} // namespace board::sql
