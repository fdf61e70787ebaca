#pragma once
// A screen buffer of the process's console made for one test and never
// shown, so the tests neither disturb the console they run in nor depend on
// its size. Without a console (wine with no terminal, a service) the tests
// that need one are skipped.

#include "console/screen_buffer.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace console_test {

class ConsoleBufferTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HANDLE buffer() const { return buffer_; }
    // The cell's character and attribute, read back from the console.
    wchar_t char_at(int x, int y) const;
    WORD attr_at(int x, int y) const;
    std::wstring chars(int x, int y, int length) const;
    // Whole rows at once, row by row: far quicker than cell by cell.
    std::vector<CHAR_INFO> rows(int top, int count) const;
    console::Coord cursor() const;
    CONSOLE_SCREEN_BUFFER_INFO info() const;

  private:
    HANDLE buffer_ = INVALID_HANDLE_VALUE;
};

// 80 columns by 300 rows, the top 50 visible, everything blank in
// attribute 7 and the cursor at the corner.
inline constexpr int buffer_width = 80;
inline constexpr int buffer_height = 300;

} // namespace console_test
