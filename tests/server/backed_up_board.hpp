#pragma once
// A board backed up while it takes runs, and a second server started on the
// copy: every run acknowledged before the backup began is served from the
// copy, its recording byte for byte, and the copy's places are its own
// board's order. Each engine's test says how it backs up.
#include "serving_board.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace teste {

// Backs up the live board; the database the copy is in.
using BackUp = std::function<std::string(const Board& live)>;

// The copy's board by each page's next cursor: each game's place, by its run
// and index, and that the places go 1, 2, 3 down the pages.
inline std::map<std::pair<std::int64_t, int>, std::int64_t> places_down_the_board(const Board& b) {
    std::map<std::pair<std::int64_t, int>, std::int64_t> places;
    nlohmann::json page = b.get_json("/api/board?limit=100");
    for (std::int64_t place = 1;;
         page = b.get_json("/api/board?limit=100&after=" + page["next"].get<std::string>())) {
        for (const auto& game : page["games"]) {
            EXPECT_EQ(game["place"], place) << game;
            places[{game["run"].get<std::int64_t>(), game["game"].get<int>()}] = place++;
        }
        if (!page.contains("next"))
            return places;
    }
}

inline void expect_backed_up_while_serving(const board::ServiceConfig& config,
                                           const BackUp& back_up) {
    Board live(config);
    std::mutex mutex;
    std::vector<std::int64_t> acknowledged; // before the backup began
    std::atomic<bool> backing_up{false};
    const auto send = [&](int i) {
        const auto sent = live.post(committed() + "time " + std::to_string(i) + "\n");
        ASSERT_TRUE(sent);
        ASSERT_EQ(sent->status, 201) << sent->body;
        // Its 201 came before this reads false, so before the backup began.
        if (!backing_up) {
            const std::lock_guard lock(mutex);
            acknowledged.push_back(nlohmann::json::parse(sent->body)["id"]);
        }
    };
    for (int i = 0; i < 5; ++i)
        send(i);
    std::thread writer([&send] {
        for (int i = 5; i < 25; ++i)
            send(i);
    });
    backing_up = true;
    board::ServiceConfig on_the_copy = config;
    on_the_copy.database = back_up(live);
    writer.join();

    Board restored(on_the_copy);
    const std::int64_t kept = restored.total();
    EXPECT_GE(kept, 2 * static_cast<std::int64_t>(acknowledged.size()));
    EXPECT_LE(kept, live.total());
    const auto places = places_down_the_board(restored);
    EXPECT_EQ(static_cast<std::int64_t>(places.size()), kept);
    for (const auto& [key, place] : places) {
        const std::string replay = "/runs/" + std::to_string(key.first) + ".replay";
        EXPECT_EQ(restored.client().Get(replay.c_str())->body,
                  live.client().Get(replay.c_str())->body)
            << replay;
    }
    for (const std::int64_t id : acknowledged) {
        const std::string run = "/runs/" + std::to_string(id);
        EXPECT_EQ(restored.client().Get(run.c_str())->status, 200) << run;
        const nlohmann::json games = restored.get_json("/api" + run)["games"];
        ASSERT_EQ(games.size(), 2u) << run;
        for (int g = 0; g < 2; ++g) {
            const auto at = places.find({id, g});
            ASSERT_NE(at, places.end()) << run << " game " << g << " is not on the copy's board";
            EXPECT_EQ(games[g]["place"], at->second) << run << " game " << g;
        }
    }
}

} // namespace teste
