// The cast a run's page plays: made once from the stored recording, then
// served as kept.
#include "memory_store.hpp"
#include "server/pages/run_cast.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace board::pages;
using pages_test::game;
using pages_test::MemoryStore;

std::string committed_recording() {
    std::ifstream file(std::string(ORBITRIX_TEST_DATA) + "/session.replay", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(RunCast, IsMadeFromTheRecordingOnceThenServedAsKept) {
    MemoryStore store;
    const auto id =
        store.add({0, "", 0, "m", {game("Ana", 0, 4, 4), game("Bob", 0)}}, committed_recording());
    const auto first = run_cast(store, id);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->rfind("{\"version\":2,\"width\":80,\"height\":50", 0), 0u);
    // A marker at each game's start, which the page's player steps between.
    EXPECT_NE(first->find("\"m\",\"Partida 1: Ana"), std::string::npos);
    EXPECT_NE(first->find("\"m\",\"Partida 2: Bob"), std::string::npos);
    EXPECT_EQ(store.casts_kept, 1);

    store.keep_cast(id, "kept");
    EXPECT_EQ(run_cast(store, id), "kept");
    EXPECT_EQ(store.casts_kept, 2);
}

TEST(RunCast, NoneForNoRunAndAnErrorForARecordingThatMakesNone) {
    MemoryStore store;
    EXPECT_FALSE(run_cast(store, 1));
    std::string edited = committed_recording();
    edited.replace(edited.find("\"Ana\""), 5, "\"Eva\"");
    const auto id = store.add({0, "", 0, "m", {}}, edited);
    EXPECT_THROW(run_cast(store, id), board::StoreError);
    EXPECT_EQ(store.casts_kept, 0);
}

} // namespace
