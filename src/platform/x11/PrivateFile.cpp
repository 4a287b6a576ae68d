#include "platform/x11/PrivateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace nimbrel::x11 {
namespace {

namespace fs = std::filesystem;

// Keeps the file descriptor closed on every path out of a function.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool makePrivateFolder(const fs::path& folder) {
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) {
        return true;
    }
    if (!fs::create_directories(folder, error) && error) {
        return false;
    }
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    return true;
}

}  // namespace

PrivateFile::Contents PrivateFile::read() const {
    Descriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return {errno == ENOENT ? ReadStatus::absent : ReadStatus::failed, {}};
    }
    Contents contents{ReadStatus::read, {}};
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return {ReadStatus::failed, {}};
        }
        if (n == 0) {
            return contents;
        }
        contents.bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool PrivateFile::writeAtomically(const std::string& bytes) const {
    if (!makePrivateFolder(path_.parent_path())) {
        return false;
    }
    fs::path temporary = path_;
    temporary += ".tmp";
    Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        return false;
    }
    // An older temporary file may have been made with other permissions.
    bool written =
        ::fchmod(fd.get(), 0600) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    written = fd.close() && written;
    if (!written || ::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    Descriptor folder(::open(path_.parent_path().empty() ? "." : path_.parent_path().c_str(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) {
        ::fsync(folder.get());
    }
    return true;
}

std::optional<fs::path> PrivateFile::keepAside() const {
    for (int n = 1; n < 1000; ++n) {
        fs::path aside = path_;
        aside += ".damaged-" + std::to_string(n);
        // A hard link never replaces an existing name, so an earlier kept-aside file survives.
        if (::link(path_.c_str(), aside.c_str()) == 0) {
            ::unlink(path_.c_str());
            return aside;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace nimbrel::x11
