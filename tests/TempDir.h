// Each test that touches files runs in a fresh working directory of its own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace tarvelo::testing {

class TempWorkingDir {
public:
    TempWorkingDir() : previous_(std::filesystem::current_path()) {
        // Made by hand, not by mkdtemp, which Windows lacks.
        std::random_device random;
        for (int attempt = 0; path_.empty(); ++attempt) {
            const auto candidate =
                std::filesystem::temp_directory_path() / ("tarvelo-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate;
            } else if (attempt == 100) {
                std::abort();
            }
        }
        std::filesystem::current_path(path_);
    }
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;
    ~TempWorkingDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace tarvelo::testing
