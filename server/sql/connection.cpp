#include "server/sql/connection.hpp"

namespace board::sql {

std::unique_ptr<Statement> query(Connection& conn, const std::string& sql,
                                 std::initializer_list<Value> values) {
    auto statement = conn.prepare(sql);
    int position = 0;
    for (const Value& value : values)
        statement->bind(++position, value);
    return statement;
}

Transaction::~Transaction() {
    if (!open_)
        return;
    try {
        conn_.rollback();
    } catch (const Error&) {
        // A lost connection has rolled the transaction back already.
    }
}

void Transaction::commit() {
    open_ = false;
    conn_.commit();
}

void Transaction::rollback() {
    open_ = false;
    conn_.rollback();
}

} // namespace board::sql
