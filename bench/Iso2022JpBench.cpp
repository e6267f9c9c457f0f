// The ISO-2022-JP body encoder against glibc's iconv (CP932 to ISO-2022-JP) on the same text.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mail/Iso2022Jp.h"
#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

// Kanji, kana, full-width letters and digits, symbols and ASCII, as a message or a note typed
// in Japanese holds them. It leaves out the code page 932 forms that iconv refuses in
// ISO-2022-JP (～ ∥ － ￠ ￡ ￢), line breaks (the encoder drops them, iconv keeps them) and
// half-width katakana (iconv refuses 8-bit bytes in ISO-2022-JP).
constexpr std::string_view kMixedUtf8 =
    "今日は朝から雨が降っていますが、午後には晴れるでしょう。"
    "PHS 070-1234-5678 までご連絡ください。"
    "カタカナとひらがな、ＡＢＣ１２３、記号（「」・…○●）も混ぜます。"
    "Meeting at 10:30 in room 4B, see you there! "
    "東京駅の八重洲口で待ち合わせ、新幹線で大阪へ向かいます。";

std::string ShiftJisLine(std::size_t size) {
    const std::string text = Utf8ToShiftJis(kMixedUtf8);
    std::string line = "MSG=";
    std::size_t i = 0;
    while (true) {
        const auto lead = static_cast<unsigned char>(text[i % text.size()]);
        const std::size_t length = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0 ? 2 : 1;
        if (line.size() + length > size) {
            break;
        }
        line.append(text, i % text.size(), length);
        i += length;
    }
    line.append(size - line.size(), '.');
    return line;
}

const std::string& Text(std::size_t size) {
    static const std::string line = ShiftJisLine(150);
    static const std::string megabyte = ShiftJisLine(1 << 20);
    return size == 150 ? line : megabyte;
}

void BM_EncodeIso2022Jp(benchmark::State& state) {
    const std::string& text = Text(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string encoded = EncodeIso2022Jp(text);
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_IconvCp932ToIso2022Jp(benchmark::State& state) {
    const std::string& text = Text(static_cast<std::size_t>(state.range(0)));
    const iconv_t cd = iconv_open("ISO-2022-JP", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        state.SkipWithError("iconv has no CP932 to ISO-2022-JP");
        return;
    }
    // A buffer kept across iterations: iconv is timed without any allocation.
    std::string out(3 * text.size() + 16, '\0');
    for (auto _ : state) {
        char* source = const_cast<char*>(text.data());
        std::size_t sourceLeft = text.size();
        char* target = out.data();
        std::size_t targetLeft = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &source, &sourceLeft, &target, &targetLeft) == static_cast<std::size_t>(-1) ||
            iconv(cd, nullptr, nullptr, &target, &targetLeft) == static_cast<std::size_t>(-1)) {
            state.SkipWithError("iconv refused the text");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_EncodeIso2022Jp)->Arg(150)->Arg(1 << 20);
BENCHMARK(BM_IconvCp932ToIso2022Jp)->Arg(150)->Arg(1 << 20);

}  // namespace
}  // namespace tarvelo
