#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Log.h"

namespace nimbrel::test {

// A fresh folder for one test, removed with everything in it afterwards.
class PrivateFolder {
  public:
    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "nimbrel-test-XXXXXX");
        path_ = ::mkdtemp(pattern.data());
    }
    ~PrivateFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline unsigned modeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

struct RecordingLog final : Log {
    void log(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace nimbrel::test
