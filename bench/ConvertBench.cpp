// The handset conversion runs on every keystroke, and must also stay cheap on pasted text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "compose/HandsetText.h"
#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

// 69 characters as a user types them: katakana, voiced kana, digits, letters and punctuation.
constexpr const char* kMessage =
    "アシタノカイギハゴゴ３ジカラデス。バショハホンシャビル７Ｆ「ダイ２カイギシツ」、ＰＨＳノバンゴ"
    "ウハ"
    "０７０ー１２３４デス。ヨロシクオネガイ！";

// Office mail as it is pasted: kanji, hiragana, katakana of both widths, ASCII, symbols and
// line breaks.
constexpr const char* kMixedLine =
    "明日の会議は午後３時からです。場所は本社ビル７Ｆの「第２会議室」、資料をお願いします。"
    "Please bring the report (ver.2) & slides! ｶﾞｯｺｳﾏﾃﾞ ﾑｶｴﾆｲｸﾖ。※詳細は追って連絡します●\r\n";

void Measure(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        HandsetText result = ConvertToHandsetText(text);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void ConvertMessage(benchmark::State& state) {
    Measure(state, Utf8ToShiftJis(kMessage));
}
BENCHMARK(ConvertMessage);

void ConvertMixedText1MB(benchmark::State& state) {
    const std::string line = Utf8ToShiftJis(kMixedLine);
    std::string text;
    while (text.size() < (std::size_t{1} << 20)) {
        text += line;
    }
    Measure(state, text);
}
BENCHMARK(ConvertMixedText1MB);

}  // namespace
}  // namespace tarvelo
