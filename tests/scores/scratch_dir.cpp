#include "scratch_dir.hpp"

#include <fstream>
#include <random>
#include <sstream>

namespace scores_test {

ScratchDir::ScratchDir() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("orbitrix-scores-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchDir::at(const std::string& relative) const {
    return (root_ / relative).string();
}

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

bool exists(const std::string& file) {
    return std::filesystem::exists(file);
}

} // namespace scores_test
