// A save that fails leaves the stored settings as they were. The faults are real ones: a full
// disk and a read-only mount are made in a child process with a mount namespace of its own, so
// that root (as the tests run in CI) meets them too and the machine's mounts stay untouched.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/Error.h"
#include "settings/LineList.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

// What a child process saw, by name; "skip" holds why it could not make its fault.
using Report = std::map<std::string, std::string>;

constexpr const char* kOldSettings = "old@example.com\r\nmail\r\n123\r\n";
constexpr const char* kCreateError = "ﾌｧｲﾙ tvemail.ini を作成できません";

void SendReport(int fd, const Report& report) {
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

Report ParseReport(const std::string& bytes) {
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

std::string Why(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

// The working directory becomes a 16 KiB tmpfs seen only by this process. Empty on success,
// else why not.
std::string MountSmallDisk(const std::filesystem::path& dir) {
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

// Runs body in a child process, on its own small tmpfs when smallDisk is set, and returns what
// it reported. The child reports instead of asserting: its failures could not reach gtest.
Report RunInChild(bool smallDisk, const std::function<void(Report&)>& body) {
    const std::filesystem::path dir = std::filesystem::current_path();
    int fds[2];
    if (::pipe(fds) != 0) {
        return {{"skip", Why("pipe")}};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
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

// The save that the fault must stop: far larger than the old file, so that a save that cut
// the old file short first would free too little room for the new one.
void TrySave(Report& report) {
    try {
        WriteLineList("tvemail.ini", {std::string(6000, 'n'), "mail", ""});
        report["error"] = "none";
    } catch (const Error& error) {
        report["error"] = error.what();
    }
    report["old"] = ReadFileBytes("tvemail.ini");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        report["files"] += name + ";";
    }
}

TEST(SaveFaultTest, FullDiskLeavesTheOldFileAndNoTemporaryFile) {
    TempWorkingDir dir;
    const Report report = RunInChild(true, [](Report& out) {
        WriteFileBytes("tvemail.ini", kOldSettings);
        const int filler = ::open("filler", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::string block(4096, 'f');
        while (::write(filler, block.data(), block.size()) > 0) {
        }
        out["fillerStoppedBy"] = std::strerror(errno);
        ::close(filler);
        TrySave(out);
    });
    if (report.count("skip") != 0) {
        GTEST_SKIP() << "no private tmpfs to fill: " << report.at("skip");
    }
    ASSERT_EQ(report.count("crashed"), 0U);
    EXPECT_EQ(report.at("fillerStoppedBy"), std::strerror(ENOSPC));
    EXPECT_EQ(report.at("error"), kCreateError);
    EXPECT_EQ(report.at("old"), kOldSettings);
    EXPECT_EQ(report.at("files"), "filler;tvemail.ini;");
}

TEST(SaveFaultTest, ReadOnlyMountLeavesTheOldFile) {
    TempWorkingDir dir;
    const std::filesystem::path path = dir.path();
    const Report report = RunInChild(true, [path](Report& out) {
        WriteFileBytes("tvemail.ini", kOldSettings);
        if (::mount("none", path.c_str(), "none", MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            out["skip"] = Why("remounting the tmpfs read-only");
            return;
        }
        TrySave(out);
    });
    if (report.count("skip") != 0) {
        GTEST_SKIP() << "no private read-only mount: " << report.at("skip");
    }
    ASSERT_EQ(report.count("crashed"), 0U);
    EXPECT_EQ(report.at("error"), kCreateError);
    EXPECT_EQ(report.at("old"), kOldSettings);
    EXPECT_EQ(report.at("files"), "tvemail.ini;");
}

// Replacing by rename needs only a writable folder; a read-only file must refuse all the same,
// as it refused being rewritten in place. Root ignores permission bits, so the child gives up
// root first.
TEST(SaveFaultTest, ReadOnlyFileOfAnOrdinaryUserIsLeftAlone) {
    TempWorkingDir dir;
    WriteFileBytes("tvemail.ini", kOldSettings);
    ASSERT_EQ(::chmod("tvemail.ini", 0444), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    constexpr uid_t kNobody = 65534;
    const Report report = RunInChild(false, [](Report& out) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            out["skip"] = Why("becoming an ordinary user, needs root");
            return;
        }
        TrySave(out);
    });
    if (report.count("skip") != 0) {
        GTEST_SKIP() << report.at("skip");
    }
    ASSERT_EQ(report.count("crashed"), 0U);
    EXPECT_EQ(report.at("error"), kCreateError);
    EXPECT_EQ(report.at("old"), kOldSettings);
    EXPECT_EQ(report.at("files"), "tvemail.ini;");
}

TEST(SaveFaultTest, DirectoryInPlaceOfTheFileIsLeftAlone) {
    TempWorkingDir dir;
    std::filesystem::create_directory("tvemail.ini");
    WriteFileBytes("tvemail.ini/keep", "x");
    try {
        WriteLineList("tvemail.ini", {"a", "b", "c"});
        FAIL() << "a directory was replaced by a file";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), kCreateError);
    }
    EXPECT_TRUE(std::filesystem::is_directory("tvemail.ini"));
    EXPECT_EQ(ReadFileBytes("tvemail.ini/keep"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace tarvelo
