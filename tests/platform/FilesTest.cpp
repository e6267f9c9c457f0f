// The file layer's guarantees, on each platform's side: the Windows build runs this under wine.
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

constexpr std::string_view kLines = "a@example.com\r\nmail\r\n\r\n";

struct SaveCase {
    const char* name;
    const char* oldBytes;  // null: no file there
    friend void PrintTo(const SaveCase& row, std::ostream* out) { *out << row.name; }
};

class ReplaceRegularFileTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(ReplaceRegularFileTest, WholeOrNotAtAll) {
    const TempWorkingDir dir;
    const SaveCase& row = GetParam();
    if (row.oldBytes != nullptr) {
        WriteFileBytes("tvemail.ini", row.oldBytes);
    }
    ASSERT_TRUE(ReplaceRegularFile("tvemail.ini", kLines));
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kLines);
    EXPECT_EQ(ReadRegularFile("tvemail.ini", 1024), std::string(kLines));
    // Nothing of the save is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceRegularFileTest,
                         ::testing::Values(SaveCase{"Missing", nullptr}, SaveCase{"Empty", ""},
                                           SaveCase{"LongerOld", "x\r\nx\r\nx\r\nx\r\nx\r\nx\r\n"},
                                           SaveCase{"LoneLineFeeds", "a\nb\n"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Files, ADirectoryIsNeitherReadNorReplacedNorAppendedTo) {
    const TempWorkingDir dir;
    std::filesystem::create_directory("tvemail.ini");
    EXPECT_FALSE(ReadRegularFile("tvemail.ini", 1024).has_value());
    EXPECT_FALSE(ReplaceRegularFile("tvemail.ini", kLines));
    EXPECT_EQ(AppendToRegularFile("tvemail.ini", kLines), AppendResult::OpenFailed);
    EXPECT_TRUE(std::filesystem::is_directory("tvemail.ini"));
    EXPECT_FALSE(FileMissing("tvemail.ini"));
}

TEST(Files, ReadingStopsAtTheLimit) {
    const TempWorkingDir dir;
    WriteFileBytes("big.ini", std::string(1025, 'x'));
    EXPECT_FALSE(ReadRegularFile("big.ini", 1024).has_value());
    EXPECT_FALSE(ReadRegularFile("missing.ini", 1024).has_value());
    EXPECT_TRUE(FileMissing("missing.ini"));
}

TEST(Files, AppendingKeepsWhatWasThere) {
    const TempWorkingDir dir;
    ASSERT_EQ(AppendToRegularFile("TVEMAIL.LOG", "one\r\n"), AppendResult::Appended);
    ASSERT_EQ(AppendToRegularFile("TVEMAIL.LOG", "two\r\n"), AppendResult::Appended);
    EXPECT_EQ(ReadFileBytes("TVEMAIL.LOG"), "one\r\ntwo\r\n");
}

}  // namespace
}  // namespace tarvelo
