#pragma once
// A fresh directory under the system's temporary one, removed with
// everything in it when the object goes.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace teste {

class TempDir {
  public:
    // A name drawn afresh until one is free: the tests of the client run on
    // Windows too, which has no mkdtemp.
    TempDir() {
        std::random_device seed;
        for (int tries = 0; tries < 100; ++tries) {
            path_ = std::filesystem::temp_directory_path() /
                    ("orbitrix-board-" + std::to_string(seed()) + std::to_string(seed()));
            if (std::filesystem::create_directory(path_))
                return;
        }
        throw std::runtime_error("no fresh temporary directory");
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

} // namespace teste
