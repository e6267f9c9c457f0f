#include "mail/Iso2022Jp.h"

#include <cstddef>
#include <cstdint>

#include "compose/HandsetText.h"

namespace tarvelo {

namespace {

// ISO-2022-JP designations (RFC 1468): JIS X 0208-1983 into G0, and back to JIS X 0201 Roman.
// Tarvelo's mails have always returned with ESC ( J, never ESC ( B (ASCII); the two differ only
// in 0x5C and 0x7E (yen sign and overline in JIS X 0201 Roman).
constexpr std::string_view kToDoubleByte = "\x1B$B";
constexpr std::string_view kToSingleByte = "\x1B(J";

enum class EncoderState {
    SingleByte,  // ASCII before the first double-byte run, JIS X 0201 Roman after it
    DoubleByte,  // JIS X 0208, two 7-bit bytes a character
};

}  // namespace

std::string EncodeIso2022Jp(std::string_view sjisLine) {
    std::string out;
    // Worst case: every single-byte character follows a double-byte one (4 bytes each), and the
    // line ends in double-byte mode (3 more).
    out.reserve(3 * sjisLine.size() + 3);
    EncoderState state = EncoderState::SingleByte;
    std::size_t i = 0;
    while (i < sjisLine.size()) {
        const auto byte = static_cast<unsigned char>(sjisLine[i]);
        switch (ShiftJisByteClass(byte)) {
            case ByteClass::Single:
                if (state == EncoderState::DoubleByte) {
                    out.append(kToSingleByte);
                    state = EncoderState::SingleByte;
                }
                out.push_back(static_cast<char>(byte));
                ++i;
                break;
            case ByteClass::Lead: {
                if (i + 1 == sjisLine.size()) {
                    i = sjisLine.size();
                    break;
                }
                const auto second = static_cast<unsigned char>(sjisLine[i + 1]);
                const std::uint16_t jis =
                    ShiftJisToJis(static_cast<std::uint16_t>(byte << 8 | second));
                // A character without a JIS code is dropped like an illegal byte: it must not
                // open a double-byte run of its own nor put zero bytes into the line.
                if (jis != 0) {
                    if (state == EncoderState::SingleByte) {
                        out.append(kToDoubleByte);
                        state = EncoderState::DoubleByte;
                    }
                    out.push_back(static_cast<char>(jis >> 8));
                    out.push_back(static_cast<char>(jis & 0xFF));
                }
                i += 2;
                break;
            }
            case ByteClass::Illegal:
                ++i;
                break;
        }
    }
    if (state == EncoderState::DoubleByte) {
        out.append(kToSingleByte);
    }
    return out;
}

void EncodeLinesIso2022Jp(const std::vector<std::string>& source,
                          std::vector<std::string>& destination) {
    destination.clear();
    destination.reserve(source.size());
    for (const std::string& line : source) {
        destination.push_back(EncodeIso2022Jp(line));
    }
}

}  // namespace tarvelo
