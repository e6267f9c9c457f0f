// The user's encoding at a terminal, both ways: what is read is taken whole or refused, what is
// written is marked where the encoding cannot hold it.
#include "platform/ConsoleText.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace tarvelo {
namespace {

struct ConsoleCase {
    const char* name;
    const char* encoding;
    bool toUtf8;  // ConsoleToUtf8 of bytes; otherwise Utf8ToConsole of them
    std::string bytes;
    std::optional<std::string> result;  // none: refused
    friend void PrintTo(const ConsoleCase& row, std::ostream* out) { *out << row.name; }
};

const ConsoleCase kCases[] = {
    {"Utf8", "UTF-8", true, "\xE3\x82\xA2", "ア"},
    {"Utf8CutShort", "UTF-8", true, "\xE3\x82", std::nullopt},
    {"Utf8InvalidByte", "UTF-8", true, "\xFF", std::nullopt},
    {"ShiftJis", "SHIFT_JIS", true, "\x83\x41\x83\x43", "アイ"},
    {"ShiftJisLeadByteAlone", "SHIFT_JIS", true, "\x83", std::nullopt},
    {"EucJp", "EUC-JP", true, "\xA5\xA2\xA5\xA4", "アイ"},
    {"EucJpSecondByteOutOfRange", "EUC-JP", true, "\xA5\x41", std::nullopt},
    {"ShownInShiftJisMarkedWhereItCannot", "SHIFT_JIS", false, "ア😀\xFF", "\x83\x41??"},
    {"ShownInEucJp", "EUC-JP", false, "アイ", "\xA5\xA2\xA5\xA4"},
};

class ConsoleTextTest : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleTextTest, TheUsersEncoding) {
    const ConsoleCase& row = GetParam();
    if (row.toUtf8) {
        EXPECT_EQ(ConsoleToUtf8(row.bytes, row.encoding), row.result);
    } else {
        EXPECT_EQ(Utf8ToConsole(row.bytes, row.encoding), row.result);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ConsoleTextTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
