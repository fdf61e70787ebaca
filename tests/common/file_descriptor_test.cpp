#include "common/file_descriptor.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>

namespace {

bool is_open(int fd) {
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

TEST(FileDescriptor, ClosesWhatItHoldsUnlessReleased) {
    struct Case {
        const char* what;
        bool release;
        bool open_after;
    };
    for (const Case& c : {Case{"held", false, false}, Case{"released", true, true}}) {
        int fd = -1;
        {
            common::FileDescriptor held(::open("/dev/null", O_RDONLY | O_CLOEXEC));
            ASSERT_TRUE(held.open()) << c.what;
            fd = held.get();
            if (c.release) {
                EXPECT_EQ(held.release(), fd) << c.what;
            }
        }
        EXPECT_EQ(is_open(fd), c.open_after) << c.what;
        if (c.open_after)
            ::close(fd);
    }
}

TEST(FileDescriptor, AFailedOpenHoldsNothing) {
    const common::FileDescriptor none(::open("/nonexistent/at/all", O_RDONLY | O_CLOEXEC));
    EXPECT_FALSE(none.open());
    EXPECT_EQ(none.get(), -1);
}

} // namespace
