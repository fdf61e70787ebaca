#include "connection_contract.hpp"

#include <optional>

namespace board::testing {
namespace {

using sql::query;

// The failure `statement` threw, or none.
template <typename Statement> std::optional<sql::Failure> failure_of(Statement statement) {
    try {
        statement();
    } catch (const sql::Error& error) {
        return error.failure;
    }
    return std::nullopt;
}

void add_ticket(sql::Connection& conn, std::string_view id) {
    query(conn, "INSERT INTO tickets (id, seed, issued_ms) VALUES (?1, ?2, ?3)",
          {id, std::int64_t{7}, std::int64_t{-1}})
        ->step();
}

std::int64_t tickets(sql::Connection& conn) {
    const auto s = query(conn, "SELECT COUNT(*) FROM tickets");
    s->step();
    return s->integer(0);
}

} // namespace

TEST_P(ConnectionContract, ValuesComeBackAsBound) {
    const std::string bytes("\0\r\n\xff\xfe end", 9);
    query(*conn, "INSERT INTO runs (sha256, bytes, received_ms, made_by) VALUES (?1, ?2, ?3, ?4)",
          {std::string_view("Ana Júlia ✓"), sql::Blob{bytes}, std::int64_t{-9'007'199'254'740'993},
           std::string_view("orbitrix 1.0.0 linux")})
        ->step();
    const auto s = query(*conn, "SELECT sha256, bytes, received_ms, '?1', id FROM runs");
    ASSERT_TRUE(s->step());
    EXPECT_EQ("Ana Júlia ✓", s->text(0));
    EXPECT_EQ(bytes, s->text(1));
    EXPECT_EQ(-9'007'199'254'740'993, s->integer(2));
    EXPECT_EQ("?1", s->text(3)) << "a placeholder's look-alike in quotes is text";
    EXPECT_NE(0, s->integer(4));
    EXPECT_FALSE(s->step());

    // One value bound once and read twice; NULL bound and read.
    query(*conn, "INSERT INTO tickets (id, seed, issued_ms, run_id) VALUES (?1, ?2, ?2, ?3)",
          {std::string_view("t"), std::int64_t{5}, nullptr})
        ->step();
    const auto t = query(*conn, "SELECT seed, issued_ms, run_id FROM tickets WHERE seed = ?1",
                         {std::int64_t{5}});
    ASSERT_TRUE(t->step());
    EXPECT_EQ(5, t->integer(0));
    EXPECT_EQ(5, t->integer(1));
    EXPECT_TRUE(t->is_null(2));
}

TEST_P(ConnectionContract, OneTextPreparedTwiceIsTwoStatements) {
    for (const char* id : {"a", "b", "c"})
        add_ticket(*conn, id);
    const std::string sql = "SELECT id FROM tickets WHERE id >= ?1 ORDER BY id";
    const auto outer = query(*conn, sql, {std::string_view("a")});
    std::string pairs;
    while (outer->step()) {
        const std::string first = outer->text(0);
        const auto inner = query(*conn, sql, {std::string_view(first)});
        while (inner->step())
            pairs += first + inner->text(0) + " ";
    }
    EXPECT_EQ("aa ab ac bb bc cc ", pairs);
}

TEST_P(ConnectionContract, FailuresSayTheirKind) {
    add_ticket(*conn, "taken");
    EXPECT_EQ(sql::Failure::unique_violation, failure_of([&] { add_ticket(*conn, "taken"); }));
    EXPECT_EQ(sql::Failure::other, failure_of([&] { query(*conn, "SELEKT 1")->step(); }));
    EXPECT_EQ(sql::Failure::other,
              failure_of([&] { query(*conn, "SELECT id FROM no_such_table")->step(); }));
    EXPECT_EQ(std::nullopt, failure_of([&] { add_ticket(*conn, "free"); }));
}

TEST_P(ConnectionContract, TransactionsCommitOrLeaveNoTrace) {
    {
        sql::Transaction tx(*conn);
        add_ticket(*conn, "rolled back");
        tx.rollback();
    }
    {
        sql::Transaction tx(*conn);
        add_ticket(*conn, "abandoned");
    }
    EXPECT_EQ(0, tickets(*conn));
    {
        sql::Transaction tx(*conn);
        add_ticket(*conn, "kept");
        tx.commit();
    }
    EXPECT_EQ(1, tickets(*conn));
    // A failed statement inside a transaction still ends in a rollback.
    EXPECT_EQ(sql::Failure::unique_violation, failure_of([&] {
                  sql::Transaction tx(*conn);
                  add_ticket(*conn, "second");
                  add_ticket(*conn, "kept");
                  tx.commit();
              }));
    EXPECT_EQ(1, tickets(*conn));
}

} // namespace board::testing
