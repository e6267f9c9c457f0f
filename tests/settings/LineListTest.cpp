// Reading and writing the settings files' line lists, byte for byte.
#include "settings/LineList.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "TempDir.h"
#include "base/Error.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

struct ParseCase {
    const char* name;
    std::string_view bytes;
    LineList lines;
};

void PrintTo(const ParseCase& row, std::ostream* out) {
    *out << row.name;
}

// Reading rules of the settings files, one row per rule and per combination that a hand edit
// or another editor produces.
const ParseCase kParseCases[] = {
    {"CrLf", "a\r\nb\r\nc\r\n", {"a", "b", "c"}},
    {"LfOnly", "a\nb\nc\n", {"a", "b", "c"}},
    {"CrOnly", "a\rb\rc\r", {"a", "b", "c"}},
    {"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"NoFinalLineEnd", "a\r\nb", {"a", "b"}},
    {"EmptyFile", "", {}},
    {"OnlyLineEnd", "\r\n", {""}},
    {"EmptyMiddleLine", "a\r\n\r\nc\r\n", {"a", "", "c"}},
    {"EmptyLastLineKept", "a\r\n\r\n", {"a", ""}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
    {"CrCrLfIsTwoLineEnds", "a\r\r\nb", {"a", "", "b"}},
    {"ZeroByteKept", std::string_view("a\r\nb\0c\r\nd\r\n", 11), {"a", {"b\0c", 3}, "d"}},
    {"ZeroByteFirst", std::string_view("\0a\r\n", 4), {{"\0a", 2}}},
    {"ZeroByteAfterLineEnd", std::string_view("a\r\n\0", 4), {"a", {"\0", 1}}},
    {"NothingTrimmed", " a \t\r\n\t", {" a \t", "\t"}},
    // 0x835C (ソ) carries the byte of "\" as its trail; 0x82A0 is あ. Both stay whole.
    {"ShiftJisKeptWhole", "\x83\x5C\x82\xA0\r\n\xFF\x80", {"\x83\x5C\x82\xA0", "\xFF\x80"}},
};

class ParseLinesTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLinesTest, SplitsAsTheSettingsFilesAreRead) {
    EXPECT_EQ(ParseLines(GetParam().bytes), GetParam().lines);
}

TEST_P(ParseLinesTest, ReadingTheFileGivesTheSameLines) {
    TempWorkingDir dir;
    WriteFileBytes("list.ini", std::string(GetParam().bytes));
    EXPECT_EQ(ReadLineList("list.ini"), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Rules, ParseLinesTest, ::testing::ValuesIn(kParseCases),
                         [](const ::testing::TestParamInfo<ParseCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(LineListTest, WritesEveryLineWithCrLfAndReadsThemBack) {
    TempWorkingDir dir;
    const LineList lines{"tarvelo@example.com", "", "\x83\x5C", " x "};
    WriteLineList("list.ini", lines);
    EXPECT_EQ(ReadFileBytes("list.ini"), "tarvelo@example.com\r\n\r\n\x83\x5C\r\n x \r\n");
    EXPECT_EQ(ReadLineList("list.ini"), lines);
}

TEST(LineListTest, ReplacesALongerFileWhole) {
    TempWorkingDir dir;
    WriteFileBytes("list.ini", "one\r\ntwo\r\nthree\r\nfour\r\n");
    WriteLineList("list.ini", {"x"});
    EXPECT_EQ(ReadFileBytes("list.ini"), "x\r\n");
    WriteLineList("list.ini", {});
    EXPECT_EQ(ReadFileBytes("list.ini"), "");
}

TEST(LineListTest, LeavesNoTemporaryFileBesideTheSavedOne) {
    TempWorkingDir dir;
    WriteLineList("list.ini", {"a"});
    WriteLineList("list.ini", {"b"});
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"list.ini"});
}

TEST(LineListTest, KeepsThePermissionBitsOfTheReplacedFile) {
    TempWorkingDir dir;
    WriteFileBytes("list.ini", "old\r\n");
    ASSERT_EQ(::chmod("list.ini", 0640), 0);
    WriteLineList("list.ini", {"new"});
    struct stat after {};
    ASSERT_EQ(::stat("list.ini", &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640U);
    EXPECT_EQ(ReadFileBytes("list.ini"), "new\r\n");
}

TEST(LineListTest, ANewFileGetsTheModeOfAnyNewFile) {
    TempWorkingDir dir;
    const mode_t mask = ::umask(022);
    WriteLineList("list.ini", {"new"});
    ::umask(mask);
    struct stat after {};
    ASSERT_EQ(::stat("list.ini", &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0644U);
}

TEST(LineListTest, ASymbolicLinkStaysALinkToTheSavedFile) {
    TempWorkingDir dir;
    std::filesystem::create_directory("real");
    WriteFileBytes("real/list.ini", "old\r\n");
    std::filesystem::create_symlink("real/list.ini", "list.ini");
    WriteLineList("list.ini", {"new"});
    EXPECT_TRUE(std::filesystem::is_symlink("list.ini"));
    EXPECT_EQ(ReadFileBytes("real/list.ini"), "new\r\n");
}

TEST(LineListTest, OnlyAFileThatIsNotThereIsMissing) {
    TempWorkingDir dir;
    EXPECT_TRUE(FileMissing("list.ini"));
    WriteFileBytes("list.ini", "");
    EXPECT_FALSE(FileMissing("list.ini"));
    std::filesystem::create_directory("folder.ini");
    EXPECT_FALSE(FileMissing("folder.ini"));
}

TEST(LineListTest, AFileThatCannotBeReadRaisesFileOpenError) {
    TempWorkingDir dir;
    std::filesystem::create_directory("tvdomain.ini");
    try {
        ReadLineList("tvdomain.ini");
        FAIL() << "a directory was read as a list";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "ﾌｧｲﾙ tvdomain.ini は開けません");
    }
    EXPECT_THROW(ReadLineList("missing.ini"), Error);
}

TEST(LineListTest, LineAtRaisesListIndexErrorPastTheEnd) {
    const LineList lines{"a", "b"};
    EXPECT_EQ(LineAt(lines, 1), "b");
    try {
        LineAt(lines, 2);
        FAIL() << "no error for a missing line";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています");
    }
}

}  // namespace
}  // namespace tarvelo
