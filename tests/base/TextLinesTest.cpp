// Text cut into lines: every line end separates two lines, the last line needs none.
#include "base/TextLines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

using namespace std::string_literals;

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
    bool endsInLineEnd;
    friend void PrintTo(const SplitCase& row, std::ostream* out) { *out << row.name; }
};

class SplitLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, CutsAtEveryLineEnd) {
    EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
    EXPECT_EQ(EndsInLineEnd(GetParam().text), GetParam().endsInLineEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitLinesTest,
    testing::Values(SplitCase{"EmptyIsOneEmptyLine", "", {""}, false},
                    SplitCase{"NoLineEnd", "abc", {"abc"}, false},
                    SplitCase{"CrLf", "a\r\nb", {"a", "b"}, false},
                    SplitCase{"LoneCr", "a\rb", {"a", "b"}, false},
                    SplitCase{"LoneLf", "a\nb", {"a", "b"}, false},
                    SplitCase{"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}, false},
                    SplitCase{"CrCrLfIsTwoLineEnds", "a\r\r\nb", {"a", "", "b"}, false},
                    SplitCase{"EmptyLinesKept", "a\r\n\r\nb", {"a", "", "b"}, false},
                    SplitCase{"TrailingCrLfGivesAnEmptyLastLine", "a\r\n", {"a", ""}, true},
                    SplitCase{"TrailingCr", "a\r", {"a", ""}, true},
                    SplitCase{"TrailingLf", "a\n", {"a", ""}, true},
                    SplitCase{"LineEndAlone", "\r\n", {"", ""}, true},
                    SplitCase{"ZeroByteIsNoLineEnd", "a\0b"s, {"a\0b"s}, false},
                    SplitCase{"ShiftJisKeptByteForByte",
                              "\x83\x41\xB1\r\n\x82\xA0",
                              {"\x83\x41\xB1", "\x82\xA0"},
                              false}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
