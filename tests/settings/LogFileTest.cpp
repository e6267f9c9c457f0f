// The log file's blocks: what one save appends, byte for byte, and a save that fails leaving the
// file exactly as it was.
#include "settings/LogFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempDir.h"
#include "base/Error.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::Report;
using testing::RunInChild;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

const std::string kBanner = "--- Logging by Tarvelo from E-Mail Ver 1.1beta1 ---\r\n";

struct BlockCase {
    const char* name;
    std::vector<LineList> saves;
    std::string file;
};

void PrintTo(const BlockCase& row, std::ostream* out) {
    *out << row.name;
}

const BlockCase kBlockCases[] = {
    {"EmptyLogGivesTheBannerAlone", {{}}, kBanner},
    {"TwoSavesTwoBanners", {{" S:QUIT"}, {}}, kBanner + " S:QUIT\r\n" + kBanner},
    {"LinesByteForByte",
     {{" S:MSG=\x1B$B%+!+%\"\x1B(J", " R:250 \xB1\xFF\x80 ok", ""}},
     kBanner + " S:MSG=\x1B$B%+!+%\"\x1B(J\r\n R:250 \xB1\xFF\x80 ok\r\n\r\n"},
    {"ALongLineStaysOneLine",
     {{" S:" + std::string(600, 'X')}},
     kBanner + " S:" + std::string(600, 'X') + "\r\n"},
};

class LogBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(LogBlockTest, EachSaveAppendsABannerAndItsLines) {
    const BlockCase& row = GetParam();
    TempWorkingDir dir;
    for (const LineList& lines : row.saves) {
        SaveLogBlock(kLogFileName, lines);
    }
    EXPECT_EQ(ReadFileBytes(std::string(kLogFileName)), row.file);
}

INSTANTIATE_TEST_SUITE_P(Saves, LogBlockTest, ::testing::ValuesIn(kBlockCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct FaultCase {
    const char* name;
    const char* before;  // nullptr: no log file yet
    bool fillDisk;       // a small disk filled up before the save
    void (*make)();      // something else under the log's name, or nullptr
    const char* error;
};

void PrintTo(const FaultCase& row, std::ostream* out) {
    *out << row.name;
}

void MakeFifo() {
    ::mkfifo("TVEMAIL.LOG", 0666);
}
void MakeLinkToZero() {
    std::filesystem::create_symlink("/dev/zero", "TVEMAIL.LOG");
}
void MakeDirectory() {
    std::filesystem::create_directory("TVEMAIL.LOG");
}

constexpr const char* kOpenError = "Log File <TVEMAIL.LOG> Open Error";
constexpr const char* kWriteError = "Log File <TVEMAIL.LOG> Write Error";

const FaultCase kFaultCases[] = {
    {"FullDiskCutsBackToTheOldEnd", "--- old block ---\r\n", true, nullptr, kWriteError},
    {"FullDiskLeavesNoNewFile", nullptr, true, nullptr, kWriteError},
    {"FifoIsRefusedAtOnce", nullptr, false, MakeFifo, kOpenError},
    {"LinkToDevZeroIsRefused", nullptr, false, MakeLinkToZero, kOpenError},
    {"DirectoryIsRefused", nullptr, false, MakeDirectory, kOpenError},
};

// Fills the disk, leaving less room than one block needs, in pages of the tmpfs.
void FillDisk() {
    const int filler = ::open("filler", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string page(4096, 'f');
    while (::write(filler, page.data(), page.size()) > 0) {
    }
    ::close(filler);
}

class LogFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LogFaultTest, AFailedSaveLeavesTheFileAsItWas) {
    const FaultCase& row = GetParam();
    TempWorkingDir dir;
    const Report report = RunInChild(row.fillDisk, [&row](Report& out) {
        if (row.before != nullptr) {
            WriteFileBytes("TVEMAIL.LOG", row.before);
        }
        if (row.make != nullptr) {
            row.make();
        }
        if (row.fillDisk) {
            FillDisk();
        }
        // Lines longer than the room that is left, so that only a part of the block fits.
        const LineList lines(40, " R:" + std::string(250, 'r'));
        try {
            SaveLogBlock(kLogFileName, lines);
            out["error"] = "none";
        } catch (const Error& error) {
            out["error"] = error.what();
        }
        const auto type = std::filesystem::symlink_status("TVEMAIL.LOG").type();
        out["exists"] = type == std::filesystem::file_type::not_found ? "no" : "yes";
        if (type == std::filesystem::file_type::regular) {
            out["bytes"] = ReadFileBytes("TVEMAIL.LOG");
        }
    });
    if (report.count("skip") != 0) {
        GTEST_SKIP() << "no private tmpfs to fill: " << report.at("skip");
    }
    ASSERT_EQ(report.count("crashed"), 0U) << "the save hung or crashed";
    EXPECT_EQ(report.at("error"), row.error);
    EXPECT_EQ(report.at("exists"), row.before != nullptr || row.make != nullptr ? "yes" : "no");
    if (row.before != nullptr) {
        EXPECT_EQ(report.at("bytes"), row.before);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, LogFaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tarvelo
