// The tables and every character alone against an answer key written as the characters
// themselves, not as the tables' codes.
#include "compose/HandsetTables.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "Codes.h"
#include "compose/HandsetText.h"

namespace tarvelo {
namespace {

using testing::Code;
using testing::Codes;
using testing::IconvJis;

// Input characters and what each becomes; a single output character stands for all inputs.
struct KeyRow {
    std::string_view inputs;
    std::string_view outputs;
};

// The katakana of cells 1-86 in order, and what each becomes (blank-separated).
constexpr KeyRow kKanaKey[] = {
    {"ァアィイゥウェエォオ", "ア ア イ イ ウ ウ エ エ オ オ"},
    {"カガキギクグケゲコゴ", "カ カ゛ キ キ゛ ク ク゛ ケ ケ゛ コ コ゛"},
    {"サザシジスズセゼソゾ", "サ サ゛ シ シ゛ ス ス゛ セ セ゛ ソ ソ゛"},
    {"タダチヂッツヅテデトド", "タ タ゛ チ チ゛ ツ ツ ツ゛ テ テ゛ ト ト゛"},
    {"ナニヌネノ", "ナ ニ ヌ ネ ノ"},
    {"ハバパヒビピフブプヘベペホボポ",
     "ハ ハ゛ ハ゜ ヒ ヒ゛ ヒ゜ フ フ゛ フ゜ ヘ ヘ゛ ヘ゜ ホ ホ゛ ホ゜"},
    {"マミムメモ", "マ ミ ム メ モ"},
    {"ャヤュユョヨ", "ヤ ヤ ユ ユ ヨ ヨ"},
    {"ラリルレロ", "ラ リ ル レ ロ"},
    {"ヮワヰヱヲン", "ワ ワ イ エ ヲ ン"},
    {"ヴヵヶ", "ウ゛ カ ケ"},
};
// The hiragana of cells 1-83, which convert like the katakana of the same cell.
constexpr std::string_view kHiragana =
    "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねのは"
    "ば"
    "ぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん";

constexpr KeyRow kSymbolKey[] = {
    {"　", "　"},
    {"？", "？"},
    {"！", "！"},
    {"゛", "゛"},
    {"゜", "゜"},
    {"￣＿", "ー"},
    {"ー―‐〜－", "－"},
    {"／", "／"},
    {"“", "“"},
    {"”", "”"},
    {"（〔［｛〈《「『【＜", "（"},
    {"）〕］｝〉》」』】＞", "）"},
    {"￥", "￥"},
    {"＃", "＃"},
    {"＆", "＆"},
    {"＊", "＊"},
    {"●", "Ｏ"},
    {"※", "＊"},
    {"≪", "（"},
    {"≫", "）"},
    {"♯", "＃"},
    {"◯", "Ｏ"},
};

constexpr KeyRow kHalfWidthKey[] = {
    {" ", "　"},
    {"!", "！"},
    {"#", "＃"},
    {"&", "＆"},
    {"(<[{｢", "（"},
    {")>]}｣", "）"},
    {"*", "＊"},
    {"-_~", "－"},
    {"/", "／"},
    {"0123456789", "０１２３４５６７８９"},
    {"?", "？"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"},
    {"abcdefghijklmnopqrstuvwxyz", "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"},
    {"\\", "￥"},
    {"ｦｧｨｩｪｫｬｭｮｯ", "ヲアイウエオヤユヨツ"},
    {"ｰ", "ー"},
    {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ",
     "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"},
    {"ﾞﾟ", "゛゜"},
};

using Output = std::vector<std::uint16_t>;

// The codes of the blank-separated outputs of a kana row, one per input.
std::vector<Output> KanaOutputs(std::string_view outputs) {
    std::vector<Output> result;
    while (!outputs.empty()) {
        const std::size_t blank = outputs.find(' ');
        result.push_back(Codes(outputs.substr(0, blank)));
        outputs.remove_prefix(blank == std::string_view::npos ? outputs.size() : blank + 1);
    }
    return result;
}

std::map<std::uint16_t, std::uint16_t> SymbolOutputs() {
    std::map<std::uint16_t, std::uint16_t> result;
    for (const KeyRow& row : kSymbolKey) {
        const std::uint16_t output = Code(row.outputs);
        for (std::uint16_t input : Codes(row.inputs)) {
            result[input] = output;
        }
    }
    return result;
}

std::map<unsigned char, std::uint16_t> HalfWidthOutputs() {
    std::map<unsigned char, std::uint16_t> result;
    for (const KeyRow& row : kHalfWidthKey) {
        const std::string inputs = Utf8ToShiftJis(row.inputs);
        const Output outputs = Codes(row.outputs);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            result[static_cast<unsigned char>(inputs[i])] = outputs[outputs.size() == 1 ? 0 : i];
        }
    }
    return result;
}

// Every double-byte code that converts, and the codes it becomes.
std::map<std::uint16_t, Output> DoubleByteKey() {
    std::map<std::uint16_t, Output> key;
    for (std::uint16_t code : Codes(testing::kFullWidthDigits)) {
        key[code] = {code};
    }
    const Output upper = Codes(testing::kFullWidthLetters);
    const Output lower = Codes("ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ");
    for (std::size_t i = 0; i < upper.size(); ++i) {
        key[upper[i]] = {upper[i]};
        key[lower[i]] = {upper[i]};
    }
    std::vector<Output> kanaOutputs;
    Output katakana;
    for (const KeyRow& row : kKanaKey) {
        const Output inputs = Codes(row.inputs);
        const std::vector<Output> outputs = KanaOutputs(row.outputs);
        EXPECT_EQ(inputs.size(), outputs.size()) << row.inputs;
        katakana.insert(katakana.end(), inputs.begin(), inputs.end());
        kanaOutputs.insert(kanaOutputs.end(), outputs.begin(), outputs.end());
    }
    const Output hiragana = Codes(kHiragana);
    EXPECT_EQ(katakana.size(), 86u);
    EXPECT_EQ(hiragana.size(), 83u);
    for (std::size_t cell = 0; cell < katakana.size(); ++cell) {
        key[katakana[cell]] = kanaOutputs[cell];
        if (cell < hiragana.size()) {
            key[hiragana[cell]] = kanaOutputs[cell];
        }
    }
    for (const auto& [input, output] : SymbolOutputs()) {
        key[input] = {output};
    }
    return key;
}

TEST(HandsetTables, SymbolMapsHoldEveryCell) {
    std::array<std::uint16_t, 95> row1{};
    std::array<std::uint16_t, 95> row2{};
    for (const auto& [input, output] : SymbolOutputs()) {
        const std::uint16_t jis = IconvJis(input);
        ASSERT_TRUE(jis >> 8 == 0x21 || jis >> 8 == 0x22) << std::hex << input;
        (jis >> 8 == 0x21 ? row1 : row2)[(jis & 0xFF) - 0x20] = output;
    }
    for (std::size_t i = 0; i < row1.size(); ++i) {
        EXPECT_EQ(handset::SymbolMapRow1[i], row1[i]) << "row 1 entry " << i;
        EXPECT_EQ(handset::SymbolMapRow2[i], row2[i]) << "row 2 entry " << i;
    }
}

TEST(HandsetTables, HalfWidthMapHoldsEveryByte) {
    const std::map<unsigned char, std::uint16_t> key = HalfWidthOutputs();
    for (unsigned byte = 0; byte < 256; ++byte) {
        const auto found = key.find(static_cast<unsigned char>(byte));
        const std::uint16_t expected = found == key.end() ? 0 : found->second;
        EXPECT_EQ(handset::HalfWidthMap[byte], expected) << "byte 0x" << std::hex << byte;
    }
}

// Conversion of each code alone, so that a table entry reached by the wrong index, or a range
// test off by one, shows up as well as a wrong entry.
TEST(ConvertToHandsetText, EveryCharacterAloneConvertsByTheKey) {
    const std::map<unsigned char, std::uint16_t> halfWidth = HalfWidthOutputs();
    for (unsigned byte = 1; byte < 256; ++byte) {
        if (ShiftJisByteClass(static_cast<unsigned char>(byte)) == ByteClass::Lead) {
            continue;
        }
        const auto found = halfWidth.find(static_cast<unsigned char>(byte));
        const HandsetText result = ConvertToHandsetText(std::string(1, static_cast<char>(byte)));
        const std::string expected = found == halfWidth.end() ? "" : testing::Sjis({found->second});
        EXPECT_EQ(result.text, expected) << "byte 0x" << std::hex << byte;
        EXPECT_EQ(result.invalid, found == halfWidth.end()) << "byte 0x" << std::hex << byte;
    }
    const std::map<std::uint16_t, Output> key = DoubleByteKey();
    for (unsigned code = 0x8101; code <= 0xFCFF; ++code) {
        if (ShiftJisByteClass(static_cast<unsigned char>(code >> 8)) != ByteClass::Lead ||
            (code & 0xFF) == 0) {
            continue;
        }
        const auto found = key.find(static_cast<std::uint16_t>(code));
        const HandsetText result =
            ConvertToHandsetText(testing::Sjis({static_cast<std::uint16_t>(code)}));
        EXPECT_EQ(result.text, found == key.end() ? "" : testing::Sjis(found->second))
            << "code 0x" << std::hex << code;
        EXPECT_EQ(result.invalid, found == key.end()) << "code 0x" << std::hex << code;
    }
}

}  // namespace
}  // namespace tarvelo
