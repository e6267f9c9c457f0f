// ConvertToHandsetText on any bytes: it never fails, and what it gives the handset can show.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compose/HandsetText.h"
#include "fuzz/FuzzSupport.h"

namespace {

using tarvelo::fuzz::Require;

// ー is the one repertoire character that the converter maps onto another (－), so a second
// conversion may differ from the first by exactly that.
constexpr std::uint16_t kProlongedSoundMark = 0x815B;
constexpr std::uint16_t kMinusSign = 0x817C;

std::uint16_t CodeAt(const std::string& text, std::size_t i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(text[i]) << 8 |
                                      static_cast<unsigned char>(text[i + 1]));
}

void CheckRepertoireOnly(const std::string& text) {
    Require(text.size() % 2 == 0, "the text is whole double-byte characters");
    Require(text.find('\0') == std::string::npos, "the text holds no zero byte");
    const tarvelo::fuzz::Repertoire& repertoire = tarvelo::fuzz::TheRepertoire();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        Require(repertoire.Contains(CodeAt(text, i)), "the text holds repertoire codes only");
    }
}

std::string WithMinusForProlongedSound(const std::string& text) {
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); i += 2) {
        if (CodeAt(result, i) == kProlongedSoundMark) {
            result[i] = static_cast<char>(kMinusSign >> 8);
            result[i + 1] = static_cast<char>(kMinusSign & 0xFF);
        }
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view message(reinterpret_cast<const char*>(data), size);
    const std::size_t typed = message.substr(0, message.find('\0')).size();

    const tarvelo::HandsetText first = tarvelo::ConvertToHandsetText(message);
    CheckRepertoireOnly(first.text);
    Require(first.text.size() <= 2 * typed, "the text is at most twice the typed bytes");
    if (typed == 0) {
        Require(first.text.empty() && !first.invalid, "nothing typed gives nothing, validly");
    }

    const tarvelo::HandsetText again = tarvelo::ConvertToHandsetText(message);
    Require(again.text == first.text && again.invalid == first.invalid,
            "the same message gives the same result");

    const tarvelo::HandsetText second = tarvelo::ConvertToHandsetText(first.text);
    Require(!second.invalid, "converted text converts again without a refusal");
    Require(second.text == WithMinusForProlongedSound(first.text),
            "converting again changes only ー into －");

    const tarvelo::HandsetText third = tarvelo::ConvertToHandsetText(second.text);
    Require(!third.invalid && third.text == second.text, "a third conversion changes nothing");
    return 0;
}
