// The notices the servers on one PostgreSQL database give of their live
// sessions, read as the change each names; any other payload names none.
#include "server/service/live_listener.hpp"

#include <gtest/gtest.h>

namespace {

TEST(LiveListener, ANoticeNamesTheChangeItTells) {
    using Change = live::LiveBoard::Change;
    struct Case {
        const char* payload;
        std::optional<Change> change;
    };
    const std::vector<Case> cases = {
        {"12:7", Change{12, 7, false}},
        {"12:deal", Change{12, 0, false}},
        {"12:end", Change{12, 0, true}},
        {"9223372036854775807:1", Change{9223372036854775807, 1, false}},
        {"12", std::nullopt},
        {"12:", std::nullopt},
        {":7", std::nullopt},
        {"0:7", std::nullopt},
        {"12:0", std::nullopt},
        {"-3:7", std::nullopt},
        {"12:7:8", std::nullopt},
        {"12:ended", std::nullopt},
        {"12 :7", std::nullopt},
        {"9223372036854775808:1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payload);
        const auto got = board::change_of(c.payload);
        ASSERT_EQ(got.has_value(), c.change.has_value());
        if (got) {
            EXPECT_EQ(got->session, c.change->session);
            EXPECT_EQ(got->seq, c.change->seq);
            EXPECT_EQ(got->ended, c.change->ended);
        }
    }
}

} // namespace
