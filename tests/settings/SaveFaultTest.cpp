// A save that fails leaves the stored settings as they were. The faults are real ones: a full
// disk and a read-only mount are made in a child process with a mount namespace of its own, so
// that root (as the tests run in CI) meets them too and the machine's mounts stay untouched.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "TempDir.h"
#include "base/Error.h"
#include "settings/LineList.h"
#include "settings/MenuFolder.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::Report;
using testing::RunInChild;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

constexpr const char* kOldSettings = "old@example.com\r\nmail\r\n123\r\n";
constexpr const char* kCreateError = "ﾌｧｲﾙ tvemail.ini を作成できません";

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
            out["skip"] = testing::Why("remounting the tmpfs read-only");
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
    const Report report = RunInChild(false, [](Report& out) {
        if (const std::string failure = testing::BecomeNobody(); !failure.empty()) {
            out["skip"] = failure;
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

// Starts that used to end without a word; make runs first, as root; "/d" is the working dir's d.
TEST(MenuFolderTest, EntersTheFolderOrSaysWhyNot) {
    const struct {
        const char *name, *make, *xdg, *home, *folder, *reason;
    } rows[] = {
        {"RelativeDataHomeIgnored", "true", "d", "/h", "/h/.local/share/tarvelo", nullptr},
        {"DataHomeIsAFile", "touch d", "/d", "/h", "/d/tarvelo", "Not a directory"},
        {"TarveloIsAFile", "mkdir d; touch d/tarvelo", "/d", "/h", "/d/tarvelo", "Not a directory"},
        {"Unwritable", "mkdir -m 555 d", "/d", "/h", "/d/tarvelo", "Permission denied"},
        {"SymlinkLoop", "ln -s d d", "/d", "/h", "/d/tarvelo", "Too many levels of symbolic links"},
        {"NoHome", "true", nullptr, nullptr, "~/.local/share/tarvelo", "HOME が設定されていません"},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        ASSERT_EQ(::chmod(dir.path().c_str(), 0777) + std::system(row.make), 0) << row.name;
        const auto under = [&dir](const char* name) {
            return name[0] == '/' ? dir.path().string() + name : std::string(name);
        };
        const Report report = RunInChild(false, [&](Report& out) {
            out["user"] = testing::BecomeOrdinaryUser();
            for (const auto& [name, value] :
                 {std::pair{"XDG_DATA_HOME", row.xdg}, {"HOME", row.home}}) {
                value != nullptr ? ::setenv(name, under(value).c_str(), 1) : ::unsetenv(name);
            }
            try {
                EnterMenuSettingsFolder();
                out["outcome"] = std::filesystem::current_path().string();
            } catch (const Error& error) {
                out["outcome"] = error.what();
            }
        });
        ASSERT_EQ(report.at("user"), "");
        const std::string folder = under(row.folder);
        EXPECT_EQ(report.at("outcome"),
                  row.reason ? "ﾌｫﾙﾀﾞ " + folder + " を使えません: " + row.reason : folder);
    }
}

}  // namespace
}  // namespace tarvelo
