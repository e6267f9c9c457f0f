#include "compose/PreviewRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

// The rows as text, for a readable answer key.
std::vector<std::string> RowTexts(const std::string& sjis, int columns) {
    std::vector<std::string> texts;
    for (const PreviewRow& row : PreviewRows(sjis, columns)) {
        texts.push_back(
            ShiftJisToUtf8(std::string_view(sjis).substr(row.begin, row.end - row.begin)));
    }
    return texts;
}

struct RowCase {
    const char* name;
    const char* utf8;
    int columns;
    std::vector<std::string> rows;
    friend void PrintTo(const RowCase& row, std::ostream* out) { *out << row.name; }
};

class PreviewRowsTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(PreviewRowsTest, WrapsAtTheColumnCount) {
    const RowCase& row = GetParam();
    EXPECT_EQ(RowTexts(Utf8ToShiftJis(row.utf8), row.columns), row.rows);
}

const RowCase kRowCases[] = {
    {"Empty", "", 12, {""}},
    {"FiveColumns", "アイウエオカキクケコサ", 5, {"アイウエオ", "カキクケコ", "サ"}},
    {"TwelveColumns", "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮ", 12, {"ＡＢＣＤＥＦＧＨＩＪＫＬ", "ＭＮ"}},
    {"FifteenColumnsExactlyFull",
     "１２３４５６７８９０１２３４５",
     15,
     {"１２３４５６７８９０１２３４５"}},
    {"HalfWidthCellsTwoPerColumn", "abcdefghijkl", 5, {"abcdefghij", "kl"}},
    {"HalfWidthKatakana", "ｱｲｳｴｵｶｷｸｹｺｻ", 5, {"ｱｲｳｴｵｶｷｸｹｺ", "ｻ"}},
    // Nine half cells are used; a full-width character needs two and starts the next row.
    {"FullWidthDoesNotSplit", "abcdefghiア", 5, {"abcdefghi", "ア"}},
    {"MixedFill", "aアbイcウ", 3, {"aアbイ", "cウ"}},
    {"LineBreaksEndRows", "ab\r\nｱ\rア\nz", 12, {"ab", "ｱ", "ア", "z"}},
    {"TrailingBreakGivesEmptyRow", "ab\r\n", 12, {"ab", ""}},
    {"BreakAtAFullRow", "アイウエオ\r\nカ", 5, {"アイウエオ", "カ"}},
};
INSTANTIATE_TEST_SUITE_P(Rows, PreviewRowsTest, testing::ValuesIn(kRowCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PreviewRows, LoneLeadByteTakesOneCell) {
    const std::string text = "abcdefghi\x82";
    const std::vector<PreviewRow> rows = PreviewRows(text, 5);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].end, text.size());
}

}  // namespace
}  // namespace tarvelo
