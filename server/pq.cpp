#include "pq.hpp"

#include <charconv>

namespace board::pq {

namespace {

std::string first_line(const char* message) {
    std::string_view text = message == nullptr ? "" : message;
    text = text.substr(0, text.find('\n'));
    return text.empty() ? std::string("PostgreSQL gave no reason") : std::string(text);
}

} // namespace

Param text(std::string value) {
    return {std::move(value), false};
}
Param integer(std::int64_t value) {
    return {std::to_string(value), false};
}
Param bytes(std::string value) {
    return {std::move(value), true};
}
Param null() {
    return {};
}

Connection::Connection(const std::string& url) : conn_(PQconnectdb(url.c_str())) {
    if (!conn_) {
        throw StoreError("PostgreSQL: out of memory");
    }
    if (PQstatus(conn_.get()) != CONNECTION_OK) {
        throw StoreError("PostgreSQL: " + first_line(PQerrorMessage(conn_.get())));
    }
    if (PQsetClientEncoding(conn_.get(), "UTF8") != 0) {
        throw StoreError("PostgreSQL: " + first_line(PQerrorMessage(conn_.get())));
    }
    // An answer promises the run is kept: no commit returns before it is
    // on disk, whatever the database's default. The server's notices (a
    // table that already exists) are not the log's business.
    script("SET synchronous_commit TO on");
    script("SET client_min_messages TO warning");
}

void Connection::reconnect_if_lost() {
    if (PQstatus(conn_.get()) == CONNECTION_BAD) {
        PQreset(conn_.get());
    }
}

Result Connection::exec(const char* sql, const std::vector<Param>& params, bool binary_rows) {
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Param& param : params) {
        values.push_back(param.value ? param.value->data() : nullptr);
        lengths.push_back(param.value ? static_cast<int>(param.value->size()) : 0);
        formats.push_back(param.binary ? 1 : 0);
    }
    Result result(PQexecParams(conn_.get(), sql, static_cast<int>(params.size()), nullptr,
                               values.data(), lengths.data(), formats.data(), binary_rows ? 1 : 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw StoreError("PostgreSQL: " + first_line(result ? PQresultErrorMessage(result.get())
                                                            : PQerrorMessage(conn_.get())));
    }
    return result;
}

void Connection::script(const char* sql) {
    Result result(PQexec(conn_.get(), sql));
    if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        throw StoreError("PostgreSQL: " + first_line(result ? PQresultErrorMessage(result.get())
                                                            : PQerrorMessage(conn_.get())));
    }
}

Transaction::Transaction(Connection& conn) : conn_(conn) {
    conn_.script("BEGIN");
}

Transaction::~Transaction() {
    if (open_) {
        try {
            conn_.script("ROLLBACK");
        } catch (const StoreError&) {
            // A lost connection has rolled the transaction back already.
        }
    }
}

void Transaction::commit() {
    open_ = false;
    conn_.script("COMMIT");
}

std::int64_t int_at(const PGresult* result, int row, int column) {
    const char* text = PQgetvalue(result, row, column);
    const char* end = text + PQgetlength(result, row, column);
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end) {
        throw StoreError("PostgreSQL: not an integer: " + std::string(text, end));
    }
    return value;
}

std::string text_at(const PGresult* result, int row, int column) {
    return {PQgetvalue(result, row, column),
            static_cast<std::size_t>(PQgetlength(result, row, column))};
}

bool null_at(const PGresult* result, int row, int column) {
    return PQgetisnull(result, row, column) != 0;
}

std::int64_t affected(const PGresult* result) {
    const std::string_view count = PQcmdTuples(const_cast<PGresult*>(result));
    std::int64_t value = 0;
    std::from_chars(count.data(), count.data() + count.size(), value);
    return value;
}

} // namespace board::pq
