// What every page shares: escaping, the document's frame, and that nothing
// a page references lies on another host.
#include "memory_store.hpp"
#include "server/pages/board_page.hpp"
#include "server/pages/html.hpp"
#include "server/pages/run_page.hpp"
#include "server/pages/static_paths.hpp"

#include <gtest/gtest.h>

#include <regex>

namespace {

using namespace board::pages;
using pages_test::game;
using pages_test::MemoryStore;

constexpr const char* HOSTILE = "<img src=x onerror=alert(1)>";

TEST(Escaping, TheCharactersWithAMeaningBecomeReferencesAndUtf8StandsAsTyped) {
    EXPECT_EQ(escaped("<a href=\"x\" title='y'>&amp;</a>"),
              "&lt;a href=&quot;x&quot; title=&#39;y&#39;&gt;&amp;amp;&lt;/a&gt;");
    EXPECT_EQ(escaped("Jo\xc3\xa3o \xe5\x90\x8d\xe5\x89\x8d \xe2\x99\x80"),
              "Jo\xc3\xa3o \xe5\x90\x8d\xe5\x89\x8d \xe2\x99\x80");
    EXPECT_EQ(escaped(""), "");
}

TEST(Escaping, AHostileNameIsTextOnTheBoardAndOnItsRunsPage) {
    MemoryStore store;
    const auto id =
        store.add({0, "", 0, "orbitrix 1.0 linux", {game(HOSTILE, 50), game("a\x1b[2Jb", 10)}});
    const std::string pages[] = {board_page(store, {}), *run_page(store, id)};
    for (const std::string& page : pages) {
        EXPECT_EQ(page.find("<img"), std::string::npos);
        EXPECT_NE(page.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
        // A control byte in a name is not passed on to the reader.
        EXPECT_EQ(page.find('\x1b'), std::string::npos);
        EXPECT_NE(page.find("a?[2Jb"), std::string::npos);
    }
}

TEST(Document, IsPortugueseUtf8AndScaledForPhones) {
    const std::string page = document("T<", "<meta name=\"h\">\n", "<p>corpo</p>\n");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"pt\">", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("name=\"viewport\""), std::string::npos);
    EXPECT_NE(page.find("<title>T&lt;</title>"), std::string::npos);
    EXPECT_LT(page.find("<meta name=\"h\">"), page.find("</head>"));
    EXPECT_GT(page.find("<p>corpo</p>"), page.find("<body>"));
}

TEST(SameHostOnly, EveryAddressAPageNamesIsOnThisHostAndThePolicyNamesNoOther) {
    MemoryStore store;
    const auto id = store.add({0, "", 0, "m", {game("Ana", 1, 1, 2), game("Bia", 2, 3, 3)}});
    for (int i = 0; i < 150; ++i)
        store.add({0, "", i, "m", {game("X", i)}});
    const std::string pages[] = {board_page(store, {}), board_page(store, {true, 1, 100}),
                                 *run_page(store, id)};
    const std::regex address(R"re((?:src|href|data-cast|action)\s*=\s*"([^"]*)")re");
    for (const std::string& page : pages) {
        int seen = 0;
        for (std::sregex_iterator it(page.begin(), page.end(), address), end; it != end; ++it) {
            const std::string url = (*it)[1];
            ++seen;
            EXPECT_TRUE(url.rfind("/", 0) == 0 || url.rfind("#", 0) == 0) << url;
            EXPECT_NE(url.rfind("//", 0), 0u) << url;
        }
        EXPECT_GT(seen, 2);
    }
    const std::string policy(CONTENT_SECURITY_POLICY);
    EXPECT_NE(policy.find("default-src 'self'"), std::string::npos);
    EXPECT_EQ(policy.find("http"), std::string::npos);
    EXPECT_EQ(policy.find('*'), std::string::npos);
    EXPECT_EQ(policy.find("unsafe-inline"), std::string::npos);
}

} // namespace
