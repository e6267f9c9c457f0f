// The four tables that map typed Shift-JIS characters onto the handset's repertoire.
// Every entry is the Shift-JIS code of a repertoire character; 0 means that the input has no
// equivalent and is dropped.
#pragma once

#include <array>
#include <cstdint>

namespace tarvelo::handset {

// The repertoire: the only characters the handset's message service shows, plain katakana
// without small or voiced forms, a few symbols, ０-９ (0x824F-0x8258) and Ａ-Ｚ (0x8260-0x8279).
inline constexpr std::uint16_t kIdeographicSpace = 0x8140;    // 　
inline constexpr std::uint16_t kQuestionMark = 0x8148;        // ？
inline constexpr std::uint16_t kExclamationMark = 0x8149;     // ！
inline constexpr std::uint16_t kVoicedMark = 0x814A;          // ゛
inline constexpr std::uint16_t kSemiVoicedMark = 0x814B;      // ゜
inline constexpr std::uint16_t kProlongedSoundMark = 0x815B;  // ー
inline constexpr std::uint16_t kSlash = 0x815E;               // ／
inline constexpr std::uint16_t kLeftQuote = 0x8167;           // “
inline constexpr std::uint16_t kRightQuote = 0x8168;          // ”
inline constexpr std::uint16_t kLeftParenthesis = 0x8169;     // （
inline constexpr std::uint16_t kRightParenthesis = 0x816A;    // ）
inline constexpr std::uint16_t kMinusSign = 0x817C;           // －
inline constexpr std::uint16_t kYenSign = 0x818F;             // ￥
inline constexpr std::uint16_t kNumberSign = 0x8194;          // ＃
inline constexpr std::uint16_t kAmpersand = 0x8195;           // ＆
inline constexpr std::uint16_t kAsterisk = 0x8196;            // ＊
inline constexpr std::uint16_t kLetterO = 0x826E;             // Ｏ, what round marks become

// The 46 plain katakana.
inline constexpr std::uint16_t kA = 0x8341;    // ア
inline constexpr std::uint16_t kI = 0x8343;    // イ
inline constexpr std::uint16_t kU = 0x8345;    // ウ
inline constexpr std::uint16_t kE = 0x8347;    // エ
inline constexpr std::uint16_t kO = 0x8349;    // オ
inline constexpr std::uint16_t kKa = 0x834A;   // カ
inline constexpr std::uint16_t kKi = 0x834C;   // キ
inline constexpr std::uint16_t kKu = 0x834E;   // ク
inline constexpr std::uint16_t kKe = 0x8350;   // ケ
inline constexpr std::uint16_t kKo = 0x8352;   // コ
inline constexpr std::uint16_t kSa = 0x8354;   // サ
inline constexpr std::uint16_t kShi = 0x8356;  // シ
inline constexpr std::uint16_t kSu = 0x8358;   // ス
inline constexpr std::uint16_t kSe = 0x835A;   // セ
inline constexpr std::uint16_t kSo = 0x835C;   // ソ
inline constexpr std::uint16_t kTa = 0x835E;   // タ
inline constexpr std::uint16_t kChi = 0x8360;  // チ
inline constexpr std::uint16_t kTsu = 0x8363;  // ツ
inline constexpr std::uint16_t kTe = 0x8365;   // テ
inline constexpr std::uint16_t kTo = 0x8367;   // ト
inline constexpr std::uint16_t kNa = 0x8369;   // ナ
inline constexpr std::uint16_t kNi = 0x836A;   // ニ
inline constexpr std::uint16_t kNu = 0x836B;   // ヌ
inline constexpr std::uint16_t kNe = 0x836C;   // ネ
inline constexpr std::uint16_t kNo = 0x836D;   // ノ
inline constexpr std::uint16_t kHa = 0x836E;   // ハ
inline constexpr std::uint16_t kHi = 0x8371;   // ヒ
inline constexpr std::uint16_t kFu = 0x8374;   // フ
inline constexpr std::uint16_t kHe = 0x8377;   // ヘ
inline constexpr std::uint16_t kHo = 0x837A;   // ホ
inline constexpr std::uint16_t kMa = 0x837D;   // マ
inline constexpr std::uint16_t kMi = 0x837E;   // ミ
inline constexpr std::uint16_t kMu = 0x8380;   // ム
inline constexpr std::uint16_t kMe = 0x8381;   // メ
inline constexpr std::uint16_t kMo = 0x8382;   // モ
inline constexpr std::uint16_t kYa = 0x8384;   // ヤ
inline constexpr std::uint16_t kYu = 0x8386;   // ユ
inline constexpr std::uint16_t kYo = 0x8388;   // ヨ
inline constexpr std::uint16_t kRa = 0x8389;   // ラ
inline constexpr std::uint16_t kRi = 0x838A;   // リ
inline constexpr std::uint16_t kRu = 0x838B;   // ル
inline constexpr std::uint16_t kRe = 0x838C;   // レ
inline constexpr std::uint16_t kRo = 0x838D;   // ロ
inline constexpr std::uint16_t kWa = 0x838F;   // ワ
inline constexpr std::uint16_t kWo = 0x8392;   // ヲ
inline constexpr std::uint16_t kN = 0x8393;    // ン

// HalfWidthMap: the byte of a one-byte character (ASCII or half-width katakana) to the code it
// becomes. Lower-case letters become upper case, every kind of bracket a parenthesis, and the
// small kana the large ones; punctuation the handset cannot show stays 0.
inline constexpr std::array<std::uint16_t, 256> HalfWidthMap{
    // 0x00-0x1F: control characters, TAB, CR and LF among them.
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0x20-0x27: space ! " # $ % & '
    kIdeographicSpace, kExclamationMark, 0, kNumberSign, 0, 0, kAmpersand, 0,
    // 0x28-0x2F: ( ) * + , - . /
    kLeftParenthesis, kRightParenthesis, kAsterisk, 0, 0, kMinusSign, 0, kSlash,
    // 0x30-0x3F: 0-9 : ; < = > ?
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258, 0, 0,
    kLeftParenthesis, 0, kRightParenthesis, kQuestionMark,
    // 0x40-0x5F: @ A-Z [ \ ] ^ _ (the backslash is the yen sign in Japanese fonts)
    0, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A,
    0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,
    0x8277, 0x8278, 0x8279, kLeftParenthesis, kYenSign, kRightParenthesis, 0, kMinusSign,
    // 0x60-0x7F: ` a-z { | } ~ DEL
    0, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A,
    0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,
    0x8277, 0x8278, 0x8279, kLeftParenthesis, 0, kRightParenthesis, kMinusSign, 0,
    // 0x80-0x9F: lead bytes and 0x80, never a character of their own.
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0-0xA7: (no character) ｡ ｢ ｣ ､ ･ ｦ ｧ
    0, 0, kLeftParenthesis, kRightParenthesis, 0, 0, kWo, kA,
    // 0xA8-0xAF: ｨ ｩ ｪ ｫ ｬ ｭ ｮ ｯ
    kI, kU, kE, kO, kYa, kYu, kYo, kTsu,
    // 0xB0-0xBF: ｰ ｱ ｲ ｳ ｴ ｵ ｶ ｷ ｸ ｹ ｺ ｻ ｼ ｽ ｾ ｿ
    kProlongedSoundMark, kA, kI, kU, kE, kO, kKa, kKi, kKu, kKe, kKo, kSa, kShi, kSu, kSe, kSo,
    // 0xC0-0xCF: ﾀ ﾁ ﾂ ﾃ ﾄ ﾅ ﾆ ﾇ ﾈ ﾉ ﾊ ﾋ ﾌ ﾍ ﾎ ﾏ
    kTa, kChi, kTsu, kTe, kTo, kNa, kNi, kNu, kNe, kNo, kHa, kHi, kFu, kHe, kHo, kMa,
    // 0xD0-0xDF: ﾐ ﾑ ﾒ ﾓ ﾔ ﾕ ﾖ ﾗ ﾘ ﾙ ﾚ ﾛ ﾜ ﾝ ﾞ ﾟ; a kana followed by ﾞ or ﾟ thus gives the same
    // two characters as the full-width voiced kana.
    kMi, kMu, kMe, kMo, kYa, kYu, kYo, kRa, kRi, kRu, kRe, kRo, kWa, kN, kVoicedMark,
    kSemiVoicedMark,
    // 0xE0-0xFF: lead bytes and 0xFD-0xFF, never a character of their own.
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// One kana of the input as one or two repertoire characters; second is 0 for one character.
struct KanaEntry {
    std::uint16_t first;
    std::uint16_t second;
};

// KanaMap: the kana of JIS cell n (1-86) at entry n - 1. Hiragana (row 4, cells 1-83) and
// katakana (row 5, cells 1-86) share the cell layout, so one table serves both. Small kana
// become large, and a voiced kana becomes the plain kana followed by its voicing mark.
// Kept out of clang-format, which would put every entry on a line of its own.
// clang-format off
inline constexpr std::array<KanaEntry, 86> KanaMap{{
    // 0-9: ァ ア ィ イ ゥ ウ ェ エ ォ オ
    {kA, 0}, {kA, 0}, {kI, 0}, {kI, 0}, {kU, 0}, {kU, 0}, {kE, 0}, {kE, 0}, {kO, 0}, {kO, 0},
    // 10-19: カ ガ キ ギ ク グ ケ ゲ コ ゴ
    {kKa, 0}, {kKa, kVoicedMark}, {kKi, 0}, {kKi, kVoicedMark}, {kKu, 0}, {kKu, kVoicedMark},
    {kKe, 0}, {kKe, kVoicedMark}, {kKo, 0}, {kKo, kVoicedMark},
    // 20-29: サ ザ シ ジ ス ズ セ ゼ ソ ゾ
    {kSa, 0}, {kSa, kVoicedMark}, {kShi, 0}, {kShi, kVoicedMark}, {kSu, 0}, {kSu, kVoicedMark},
    {kSe, 0}, {kSe, kVoicedMark}, {kSo, 0}, {kSo, kVoicedMark},
    // 30-40: タ ダ チ ヂ ッ ツ ヅ テ デ ト ド
    {kTa, 0}, {kTa, kVoicedMark}, {kChi, 0}, {kChi, kVoicedMark}, {kTsu, 0}, {kTsu, 0},
    {kTsu, kVoicedMark}, {kTe, 0}, {kTe, kVoicedMark}, {kTo, 0}, {kTo, kVoicedMark},
    // 41-45: ナ ニ ヌ ネ ノ
    {kNa, 0}, {kNi, 0}, {kNu, 0}, {kNe, 0}, {kNo, 0},
    // 46-60: ハ バ パ ヒ ビ ピ フ ブ プ ヘ ベ ペ ホ ボ ポ
    {kHa, 0}, {kHa, kVoicedMark}, {kHa, kSemiVoicedMark},
    {kHi, 0}, {kHi, kVoicedMark}, {kHi, kSemiVoicedMark},
    {kFu, 0}, {kFu, kVoicedMark}, {kFu, kSemiVoicedMark},
    {kHe, 0}, {kHe, kVoicedMark}, {kHe, kSemiVoicedMark},
    {kHo, 0}, {kHo, kVoicedMark}, {kHo, kSemiVoicedMark},
    // 61-65: マ ミ ム メ モ
    {kMa, 0}, {kMi, 0}, {kMu, 0}, {kMe, 0}, {kMo, 0},
    // 66-71: ャ ヤ ュ ユ ョ ヨ
    {kYa, 0}, {kYa, 0}, {kYu, 0}, {kYu, 0}, {kYo, 0}, {kYo, 0},
    // 72-76: ラ リ ル レ ロ
    {kRa, 0}, {kRi, 0}, {kRu, 0}, {kRe, 0}, {kRo, 0},
    // 77-82: ヮ ワ ヰ ヱ ヲ ン; the obsolete ヰ and ヱ become the modern イ and エ.
    {kWa, 0}, {kWa, 0}, {kI, 0}, {kE, 0}, {kWo, 0}, {kN, 0},
    // 83-85, katakana only: ヴ ヵ ヶ
    {kU, kVoicedMark}, {kKa, 0}, {kKe, 0},
}};
// clang-format on

// SymbolMapRow1: the symbols of JIS row 1 (Shift-JIS 0x8140-0x819E) at JIS code - 0x2120;
// entry 0 is outside the row. Brackets of every shape become parentheses, ● the letter Ｏ.
// The prolonged-sound mark ー becomes the minus sign: the handset shows its own ー only for
// the half-width ｰ and for ￣ ＿.
inline constexpr std::array<std::uint16_t, 95> SymbolMapRow1{
    // JIS 0x2120-0x2127: -- 　 、 。 ， ． ・ ：
    0, kIdeographicSpace, 0, 0, 0, 0, 0, 0,
    // JIS 0x2128-0x212F: ； ？ ！ ゛ ゜ ´ ｀ ¨
    0, kQuestionMark, kExclamationMark, kVoicedMark, kSemiVoicedMark, 0, 0, 0,
    // JIS 0x2130-0x2137: ＾ ￣ ＿ ヽ ヾ ゝ ゞ 〃
    0, kProlongedSoundMark, kProlongedSoundMark, 0, 0, 0, 0, 0,
    // JIS 0x2138-0x213F: 仝 々 〆 〇 ー ― ‐ ／
    0, 0, 0, 0, kMinusSign, kMinusSign, kMinusSign, kSlash,
    // JIS 0x2140-0x2147: ＼ 〜 ‖ ｜ … ‥ ‘ ’
    0, kMinusSign, 0, 0, 0, 0, 0, 0,
    // JIS 0x2148-0x214F: “ ” （ ） 〔 〕 ［ ］
    kLeftQuote, kRightQuote, kLeftParenthesis, kRightParenthesis, kLeftParenthesis,
    kRightParenthesis, kLeftParenthesis, kRightParenthesis,
    // JIS 0x2150-0x2157: ｛ ｝ 〈 〉 《 》 「 」
    kLeftParenthesis, kRightParenthesis, kLeftParenthesis, kRightParenthesis, kLeftParenthesis,
    kRightParenthesis, kLeftParenthesis, kRightParenthesis,
    // JIS 0x2158-0x215F: 『 』 【 】 ＋ − ± ×
    kLeftParenthesis, kRightParenthesis, kLeftParenthesis, kRightParenthesis, 0, kMinusSign, 0, 0,
    // JIS 0x2160-0x2167: ÷ ＝ ≠ ＜ ＞ ≦ ≧ ∞
    0, 0, 0, kLeftParenthesis, kRightParenthesis, 0, 0, 0,
    // JIS 0x2168-0x216F: ∴ ♂ ♀ ° ′ ″ ℃ ￥
    0, 0, 0, 0, 0, 0, 0, kYenSign,
    // JIS 0x2170-0x2177: ＄ ¢ £ ％ ＃ ＆ ＊ ＠
    0, 0, 0, 0, kNumberSign, kAmpersand, kAsterisk, 0,
    // JIS 0x2178-0x217E: § ☆ ★ ○ ● ◎ ◇
    0, 0, 0, 0, kLetterO, 0, 0};

// SymbolMapRow2: the symbols of JIS row 2 (Shift-JIS 0x819F-0x81FC) at JIS code - 0x2220;
// entry 0 is outside the row, "--" marks the cells JIS X 0208 leaves unassigned. Only five
// signs have a likeness in the repertoire.
inline constexpr std::array<std::uint16_t, 95> SymbolMapRow2{
    // JIS 0x2220-0x2227: -- ◆ □ ■ △ ▲ ▽ ▼
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2228-0x222F: ※ 〒 → ← ↑ ↓ 〓 --
    kAsterisk, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2230-0x2237: -- -- -- -- -- -- -- --
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2238-0x223F: -- -- ∈ ∋ ⊆ ⊇ ⊂ ⊃
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2240-0x2247: ∪ ∩ -- -- -- -- -- --
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2248-0x224F: -- -- ∧ ∨ ¬ ⇒ ⇔ ∀
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2250-0x2257: ∃ -- -- -- -- -- -- --
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2258-0x225F: -- -- -- -- ∠ ⊥ ⌒ ∂
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2260-0x2267: ∇ ≡ ≒ ≪ ≫ √ ∽ ∝
    0, 0, 0, kLeftParenthesis, kRightParenthesis, 0, 0, 0,
    // JIS 0x2268-0x226F: ∵ ∫ ∬ -- -- -- -- --
    0, 0, 0, 0, 0, 0, 0, 0,
    // JIS 0x2270-0x2277: -- -- Å ‰ ♯ ♭ ♪ †
    0, 0, 0, 0, kNumberSign, 0, 0, 0,
    // JIS 0x2278-0x227E: ‡ ¶ -- -- -- -- ◯
    0, 0, 0, 0, 0, 0, kLetterO};

}  // namespace tarvelo::handset
