#include "replay/recording_file.hpp"
#include "replay/verify.hpp"
#include "sample_session.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string after_the_second_line(const std::string& text) {
    return text.substr(text.find('\n', text.find('\n') + 1) + 1);
}

const std::string data = ORBITRIX_TEST_DATA;

TEST(CommittedRecording, VerifiesWithTheCommittedResults) {
    const auto loaded = replay::load_recording(data + "/session.replay");
    ASSERT_TRUE(std::holds_alternative<replay::Recording>(loaded))
        << std::get<replay::Refusal>(loaded).what;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(
        replay::verify_recording(std::get<replay::Recording>(loaded), "session.replay", out, err),
        0)
        << err.str();
    EXPECT_EQ(out.str(), contents(data + "/session.verify"));
}

TEST(CommittedRecording, IsWhatTheSampleSessionRecordsNow) {
    // Its second line names the platform it was made on.
    EXPECT_EQ(after_the_second_line(sample::recorded_session()),
              after_the_second_line(contents(data + "/session.replay")));
}

} // namespace
