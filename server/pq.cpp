#include "server/pq.hpp"

#include "server/sql/postgres_dialect.hpp"

namespace board::pq {

namespace {

std::string first_line(const char* message) {
    std::string_view text = message == nullptr ? "" : message;
    text = text.substr(0, text.find('\n'));
    return "PostgreSQL: " +
           (text.empty() ? std::string("PostgreSQL gave no reason") : std::string(text));
}

// Throws when `result` is not a success.
Result checked(PGconn* conn, Result result) {
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
    throw sql::Error(
        sql::postgres_failure(state ? state : "", PQstatus(conn) == CONNECTION_OK),
        first_line(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn)));
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
    if (!conn_)
        throw sql::Error(sql::Failure::connection_lost, "PostgreSQL: out of memory");
    if (PQstatus(conn_.get()) != CONNECTION_OK || PQsetClientEncoding(conn_.get(), "UTF8") != 0)
        throw sql::Error(sql::Failure::connection_lost, first_line(PQerrorMessage(conn_.get())));
}

Result Connection::exec(const char* sql, const std::vector<Param>& params) {
    auto found = prepared_.find(std::string_view(sql));
    if (found == prepared_.end()) {
        std::string name = "s" + std::to_string(prepared_.size());
        checked(conn_.get(), Result(PQprepare(conn_.get(), name.c_str(), sql,
                                              static_cast<int>(params.size()), nullptr)));
        found = prepared_.emplace(sql, std::move(name)).first;
    }
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Param& param : params) {
        values.push_back(param.value ? param.value->data() : nullptr);
        lengths.push_back(param.value ? static_cast<int>(param.value->size()) : 0);
        formats.push_back(param.binary ? 1 : 0);
    }
    return checked(
        conn_.get(),
        Result(PQexecPrepared(conn_.get(), found->second.c_str(), static_cast<int>(params.size()),
                              values.data(), lengths.data(), formats.data(), 0)));
}

void Connection::script(const char* sql) {
    checked(conn_.get(), Result(PQexec(conn_.get(), sql)));
}

bool Connection::lost() const {
    return PQstatus(conn_.get()) != CONNECTION_OK;
}

std::string text_at(const PGresult* result, int row, int column) {
    return {PQgetvalue(result, row, column),
            static_cast<std::size_t>(PQgetlength(result, row, column))};
}

} // namespace board::pq
