#include "mail/Iso2022Jp.h"

#include <algorithm>
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
    // Worst case: every single-byte character follows a double-byte one (4 bytes each), and the
    // line ends in double-byte mode (3 more). The line is written in place and cut to size.
    std::string encoded(3 * sjisLine.size() + 3, '\0');
    char* out = encoded.data();
    const auto put = [&out](std::string_view bytes) {
        out = std::copy(bytes.begin(), bytes.end(), out);
    };
    EncoderState state = EncoderState::SingleByte;
    const auto* in = reinterpret_cast<const unsigned char*>(sjisLine.data());
    const unsigned char* const end = in + sjisLine.size();
    while (in != end) {
        const unsigned char byte = *in;
        switch (ShiftJisByteClass(byte)) {
            case ByteClass::Single:
                if (state == EncoderState::DoubleByte) {
                    put(kToSingleByte);
                    state = EncoderState::SingleByte;
                }
                *out++ = static_cast<char>(byte);
                ++in;
                break;
            case ByteClass::Lead: {
                if (end - in < 2) {
                    in = end;
                    break;
                }
                const std::uint16_t jis =
                    ShiftJisToJis(static_cast<std::uint16_t>(byte << 8 | in[1]));
                // A character without a JIS code is dropped like an illegal byte: it must not
                // open a double-byte run of its own nor put zero bytes into the line.
                if (jis != 0) {
                    if (state == EncoderState::SingleByte) {
                        put(kToDoubleByte);
                        state = EncoderState::DoubleByte;
                    }
                    *out++ = static_cast<char>(jis >> 8);
                    *out++ = static_cast<char>(jis & 0xFF);
                }
                in += 2;
                break;
            }
            case ByteClass::Illegal:
                ++in;
                break;
        }
    }
    if (state == EncoderState::DoubleByte) {
        put(kToSingleByte);
    }
    encoded.resize(static_cast<std::size_t>(out - encoded.data()));
    return encoded;
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
