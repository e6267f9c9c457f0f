#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/Files.h"

namespace tarvelo {

namespace {

// A file descriptor that is closed on every way out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that an error that a file system reports only at closing is seen.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file that a save replaces: a symbolic link stays a link, and the file it names is the
// one rewritten, as writing through the link in place always did.
std::filesystem::path SaveTarget(const std::filesystem::path& name) {
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(name, error))) {
        std::filesystem::path resolved = std::filesystem::canonical(name, error);
        if (!error) {
            return resolved;
        }
    }
    return name;
}

// A fresh file beside target, created with the mode bits a new settings file would get (0666
// less the umask); -1 when none can be made.
int CreateTemporaryBeside(const std::filesystem::path& target, std::string& temporaryName) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporaryName =
            target.string() + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Makes the rename itself durable. A failure here is not a failed save: the new file already
// holds the name, and the old one is gone either way.
void SyncDirectoryOf(const std::filesystem::path& target) {
    std::filesystem::path directory = target.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    Descriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

}  // namespace

bool FileMissing(std::string_view fileName) {
    // stat, not open: a file that exists but does not open for us is still there.
    struct stat status {};
    return ::stat(std::string(fileName).c_str(), &status) != 0 && errno == ENOENT;
}

std::optional<std::string> ReadRegularFile(std::string_view fileName, std::size_t maxBytes) {
    std::string why;
    return ReadRegularFile(fileName, maxBytes, why);
}

std::optional<std::string> ReadRegularFile(std::string_view fileName, std::size_t maxBytes,
                                           std::string& why) {
    // Non-blocking, so that a pipe without a writer is refused, not waited for.
    Descriptor fd(
        ::open(std::string(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        why = "not a regular file";
        return std::nullopt;
    }
    const std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        why = tooLarge;
        return std::nullopt;
    }
    // One byte past the limit is enough to see a file that grew after fstat.
    std::string bytes;
    std::array<char, 4096> chunk;
    while (bytes.size() <= maxBytes) {
        const ssize_t got = ::read(fd.get(), chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            why = std::strerror(errno);
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    why = tooLarge;
    return std::nullopt;
}

bool ReplaceRegularFile(std::string_view fileName, std::string_view bytes) {
    const std::filesystem::path target = SaveTarget(std::string(fileName));

    // The file as it stands must take writing: a file that refused being rewritten in place
    // (read-only, a directory, a read-only mount) refuses being replaced too, and stays.
    struct stat old {};
    bool replacing = false;
    {
        Descriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (probe.valid()) {
            if (::fstat(probe.get(), &old) != 0 || !S_ISREG(old.st_mode)) {
                return false;
            }
            replacing = true;
        } else if (errno != ENOENT) {
            return false;
        }
    }

    std::string temporaryName;
    Descriptor temporary(CreateTemporaryBeside(target, temporaryName));
    if (!temporary.valid()) {
        return false;
    }
    bool written = WriteAll(temporary.get(), bytes);
    if (written && replacing) {
        // Owner first: changing it clears the set-id bits that the mode then puts back.
        if (::fchown(temporary.get(), old.st_uid, old.st_gid) != 0) {
            // Only root may give a file to someone else; anyone else keeps it as their own.
        }
        written = ::fchmod(temporary.get(), old.st_mode & 07777) == 0;
    }
    written = written && ::fsync(temporary.get()) == 0;
    written = temporary.Close() && written;
    written = written && ::rename(temporaryName.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temporaryName.c_str());
        return false;
    }
    SyncDirectoryOf(target);
    return true;
}

AppendResult AppendToRegularFile(std::string_view fileName, std::string_view bytes) {
    const std::string name(fileName);
    // Non-blocking, so that a pipe without a reader is refused, not waited for.
    constexpr int kFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    bool created = false;
    Descriptor fd(::open(name.c_str(), kFlags));
    if (!fd.valid() && errno == ENOENT) {
        fd = Descriptor(::open(name.c_str(), kFlags | O_CREAT | O_EXCL, 0666));
        created = fd.valid();
    }
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return AppendResult::OpenFailed;
    }
    const bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    if (!written) {
        // A block cut short would leave the next banner in the middle of a line.
        if (created) {
            ::unlink(name.c_str());
        } else if (::ftruncate(fd.get(), status.st_size) != 0) {
            // Nothing more can be done; the error below still reports the failed save.
        }
    }
    if (!fd.Close() || !written) {
        return AppendResult::WriteFailed;
    }
    return AppendResult::Appended;
}

namespace {

// strerror's text as the rest of a line: "permission denied".
std::string Reason(int errnum) {
    std::string text = std::strerror(errnum);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
        (text.size() < 2 || !(text[1] >= 'A' && text[1] <= 'Z'))) {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

}  // namespace

std::string UnreadableReason(std::string_view fileName, std::size_t maxBytes) {
    const std::string name(fileName);
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0) {
        return Reason(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return S_ISDIR(status.st_mode) ? Reason(EISDIR) : "not a regular file";
    }
    if (static_cast<std::size_t>(status.st_size) > maxBytes) {
        return "larger than " + std::to_string(maxBytes) + " bytes";
    }
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        return Reason(errno);
    }
    char byte;
    const bool failed = std::fread(&byte, 1, 1, file) == 0 && std::ferror(file);
    const int errnum = errno;
    std::fclose(file);
    return failed ? Reason(errnum) : "it changed while it was read";
}

}  // namespace tarvelo
