// Faults made in a child process: a full disk or a read-only mount in a mount namespace of its
// own (so that root, as the tests run in CI, meets them too and the machine's mounts stay
// untouched), an ordinary user where root would ignore permission bits, and a time limit where
// today's fault would be a hang.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tarvelo::testing {

// What a child process saw, by name; "skip" holds why it could not make its fault.
using Report = std::map<std::string, std::string>;

inline void SendReport(int fd, const Report& report) {
    std::string bytes;
    for (const auto& [name, value] : report) {
        bytes += name;
        bytes += '\0';
        bytes += value;
        bytes += '\0';
    }
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written <= 0) {
            return;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}

inline Report ParseReport(const std::string& bytes) {
    Report report;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t nameEnd = bytes.find('\0', at);
        const std::size_t valueEnd = bytes.find('\0', nameEnd + 1);
        report[bytes.substr(at, nameEnd - at)] = bytes.substr(nameEnd + 1, valueEnd - nameEnd - 1);
        at = valueEnd + 1;
    }
    return report;
}

inline std::string Why(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

// The working directory becomes a 16 KiB tmpfs seen only by this process. Empty on success,
// else why not.
inline std::string MountSmallDisk(const std::filesystem::path& dir) {
    if (::unshare(CLONE_NEWNS) != 0) {
        return Why("unshare(CLONE_NEWNS), needs root or CAP_SYS_ADMIN");
    }
    // Without this the tmpfs could propagate back into the machine's shared mounts.
    if (::mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) != 0) {
        return Why("making / private");
    }
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=16k,mode=0755") != 0) {
        return Why("mounting a tmpfs");
    }
    // The old working directory is the one now hidden under the mount.
    if (::chdir(dir.c_str()) != 0) {
        return Why("entering the tmpfs");
    }
    return {};
}

// Short: a read that never ends grows by hundreds of megabytes a second.
inline constexpr unsigned kChildSeconds = 5;

// Runs body in a child process, on its own small tmpfs when smallDisk is set, and returns what
// it reported. The child reports instead of asserting: its failures could not reach gtest.
inline Report RunInChild(bool smallDisk, const std::function<void(Report&)>& body) {
    const std::filesystem::path dir = std::filesystem::current_path();
    int fds[2];
    if (::pipe(fds) != 0) {
        return {{"skip", Why("pipe")}};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        // A fault that would hang the program ends the child instead, reported as a crash.
        ::alarm(kChildSeconds);
        Report report;
        const std::string failure = smallDisk ? MountSmallDisk(dir) : std::string();
        if (failure.empty()) {
            body(report);
        } else {
            report["skip"] = failure;
        }
        SendReport(fds[1], report);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string bytes;
    char chunk[4096];
    ssize_t got = 0;
    while ((got = ::read(fds[0], chunk, sizeof chunk)) > 0) {
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    Report report = ParseReport(bytes);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        report["crashed"] = "yes";
    }
    return report;
}

// Gives up root for the ordinary user nobody; empty on success, else why not.
inline std::string BecomeNobody() {
    constexpr uid_t kNobody = 65534;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
        return Why("becoming an ordinary user, needs root");
    }
    return {};
}

// Makes permission bits count: root becomes nobody, anyone else already is ordinary.
inline std::string BecomeOrdinaryUser() {
    return ::geteuid() == 0 ? BecomeNobody() : std::string();
}

}  // namespace tarvelo::testing
