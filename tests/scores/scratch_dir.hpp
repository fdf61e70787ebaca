#pragma once
// A fresh directory for one test, removed with everything in it afterwards.

#include <filesystem>
#include <string>

namespace scores_test {

class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // A path inside, as the table's code takes it.
    std::string at(const std::string& relative) const;

  private:
    std::filesystem::path root_;
};

std::string contents(const std::string& file);
void put(const std::string& file, const std::string& text);
bool exists(const std::string& file);

} // namespace scores_test
