#include "app/scores/store.hpp"
#include "app/scores/text_format.hpp"
#include "scratch_dir.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace scores_test;
using scores::Entry;

Entry game(int points, std::string name = "Ana") {
    return Entry{points, std::move(name), '1', '2', scores::Ending::lost, 1796761168};
}

// ---- Two games ending at once, in processes of their own ----

#ifdef _WIN32
using Child = HANDLE;

std::wstring beside_this_program(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

Child start_recording(const std::string& table, int points) {
    std::wstring command = L"\"" + beside_this_program(L"record_one_game.exe") + L"\" \"" +
                           std::wstring(table.begin(), table.end()) + L"\" " +
                           std::to_wstring(points);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &start, &child))
        return nullptr;
    CloseHandle(child.hThread);
    return child.hProcess;
}

int finish(Child child) {
    DWORD status = 99;
    if (WaitForSingleObject(child, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(child, &status);
    CloseHandle(child);
    return static_cast<int>(status);
}
#else
using Child = pid_t;

Child start_recording(const std::string& table, int points) {
    const std::string count = std::to_string(points);
    const pid_t child = fork();
    if (child == 0) {
        execl(RECORD_ONE_GAME, RECORD_ONE_GAME, table.c_str(), count.c_str(), nullptr);
        _exit(127);
    }
    return child;
}

int finish(Child child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}
#endif

TEST(Store, TwoGamesEndingAtOnceBothLand) {
    const ScratchDir dir;
    const std::string table = dir.at("scores");
    ASSERT_FALSE(scores::record(table, {game(100)}).problem);
    {
        // Both wait on the lock held here, then go at once.
        auto held = scores::files::Lock::take(table + ".lock");
        ASSERT_TRUE(held.lock);
        const Child first = start_recording(table, 300);
        const Child second = start_recording(table, 200);
        for (int i = 0;
             i < 1000 && !(exists(table + ".started.300") && exists(table + ".started.200")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        held.lock.reset();
        EXPECT_EQ(finish(first), 0);
        EXPECT_EQ(finish(second), 0);
    }
    const scores::Loaded loaded = scores::load(table);
    ASSERT_FALSE(loaded.problem);
    ASSERT_EQ(loaded.table.size(), 3u);
    EXPECT_EQ(loaded.table[0].name, "child 300");
    EXPECT_EQ(loaded.table[1].name, "child 200");
    EXPECT_EQ(loaded.table[2].name, "Ana");
}

// ---- One session's games, and what is never written ----

TEST(Store, MakesTheMissingDirectoriesAndTellsEachGamesPlace) {
    const ScratchDir dir;
    const std::string table = dir.at("data/orbitrix/scores");
    const scores::Recorded recorded =
        scores::record(table, {game(340), game(0, "Bia"), game(12340, "Caio")});

    ASSERT_FALSE(recorded.problem) << *recorded.problem;
    EXPECT_EQ(recorded.places, (std::vector<std::optional<int>>{2, std::nullopt, 1}));
    EXPECT_EQ(scores::load(table).table, (std::vector<Entry>{game(12340, "Caio"), game(340)}));
    EXPECT_FALSE(exists(table + ".new"));
#ifndef _WIN32
    struct stat made {};
    ASSERT_EQ(stat(dir.at("data").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u);
#endif
}

TEST(Store, AFileNotUnderstoodOrOfALaterVersionIsLeftByteForByte) {
    const std::pair<std::string, std::string> found[] = {
        {"orbitrix scores 1\n10\tAna\t49\t49\tlost\t2026-12-08T20:19:28Z\n10\tbroken\n",
         "scores line 3: not understood; left as it is"},
        {"orbitrix scores 2\n10\tAna\t49\t49\tlost\t2026-12-08T20:19:28Z\tnew field\n",
         "scores line 1: written by a later version; left as it is"},
    };
    for (const auto& [text, problem] : found) {
        const ScratchDir dir;
        const std::string table = dir.at("scores");
        put(table, text);
        const scores::Recorded recorded = scores::record(table, {game(500)});
        ASSERT_TRUE(recorded.problem);
        EXPECT_TRUE(recorded.problem->ends_with(problem)) << *recorded.problem;
        EXPECT_EQ(recorded.places, (std::vector<std::optional<int>>{std::nullopt}));
        EXPECT_EQ(contents(table), text);
        EXPECT_FALSE(exists(table + ".new"));
    }
}

TEST(Store, AFailedReplacementOrABusyLockLeavesTheOldTable) {
    const ScratchDir dir;
    const std::string table = dir.at("scores");
    ASSERT_FALSE(scores::record(table, {game(100)}).problem);
    const std::string before = contents(table);

    scores::StoreOptions failing;
    failing.replace = [](const std::string&, const std::string&) {
        return scores::files::Problem("No space left on device");
    };
    const scores::Recorded recorded = scores::record(table, {game(900)}, failing);
    ASSERT_TRUE(recorded.problem);
    EXPECT_TRUE(recorded.problem->ends_with("scores: cannot write: No space left on device"));
    EXPECT_EQ(contents(table), before);
    EXPECT_FALSE(exists(table + ".new"));

    const auto held = scores::files::Lock::take(table + ".lock");
    ASSERT_TRUE(held.lock);
    scores::StoreOptions impatient;
    impatient.lock_tries = 2;
    const scores::Recorded busy = scores::record(table, {game(900)}, impatient);
    ASSERT_TRUE(busy.problem);
    EXPECT_TRUE(busy.problem->ends_with("scores: kept locked by another game for too long"));
    EXPECT_EQ(contents(table), before);
}

TEST(Store, ATableThatCannotBeReadIsNotEmpty) {
    const ScratchDir dir;
    EXPECT_TRUE(scores::load(dir.at("none")).table.empty());
    EXPECT_FALSE(scores::load(dir.at("none")).problem);
    // A directory where the table should be: it cannot be read, nor replaced.
    std::filesystem::create_directory(dir.at("scores"));
    EXPECT_TRUE(scores::load(dir.at("scores")).problem);
    EXPECT_TRUE(scores::record(dir.at("scores"), {game(10)}).problem);
}

} // namespace
