#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace nimbrel::x11 {

// A file only its owner may read: the stores of the program's defaults and secrets. Every call
// absorbs the system's failures and says how it went in its result.
class PrivateFile {
  public:
    explicit PrivateFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    enum class ReadStatus { read, absent, failed };
    struct Contents {
        ReadStatus status = ReadStatus::failed;
        std::string bytes;
    };
    Contents read() const;

    // Replaces the file in one step (a temporary file beside it, flushed to disk, then renamed
    // over it), created with mode 0600 in a folder of mode 0700, so that a crash or a full disk
    // leaves either the old contents or the new, never a mix.
    bool writeAtomically(const std::string& bytes) const;

    // Moves a file the program cannot read out of the way under a name no earlier one took
    // ("defaults.json.damaged-2"); the answer is the new name, none when the move failed.
    std::optional<std::filesystem::path> keepAside() const;

  private:
    std::filesystem::path path_;
};

}  // namespace nimbrel::x11
