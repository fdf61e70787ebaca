#pragma once
// The committed recording (tests/data/session.replay) with its first game,
// Ana's, played under another name: the keys typed as the game receives
// them, code-page bytes, and the game line naming it as `written` (the text
// between the quotes), in either form the format reads.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace teste {

inline std::string renamed(std::string recording, std::string_view code_page,
                           std::string_view written) {
    const std::string typed = "key 65 0\nkey 110 0\nkey 97 0\n";
    std::string keys;
    for (const char ch : code_page)
        keys += "key " + std::to_string(static_cast<unsigned char>(ch)) + " 0\n";
    const auto at = recording.find(typed);
    EXPECT_NE(at, std::string::npos) << "the committed recording types Ana";
    if (at == std::string::npos)
        return recording;
    recording.replace(at, typed.size(), keys);
    const auto name = recording.find("\"Ana\"");
    EXPECT_NE(name, std::string::npos);
    if (name != std::string::npos)
        recording.replace(name, 5, "\"" + std::string(written) + "\"");
    return recording;
}

} // namespace teste
