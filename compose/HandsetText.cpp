#include "compose/HandsetText.h"

#include "compose/HandsetTables.h"

namespace tarvelo {

namespace {

// Writes code as its two bytes, lead byte first, and returns the position after them.
char* Put(char* out, std::uint16_t code) {
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return out + 2;
}

// The repertoire characters that the double-byte character code stands for; first is 0 when
// it has none. Only lead bytes 0x81-0x83 (symbols, digits, letters and kana) hold anything
// the handset can show, so every kanji is refused by the first test.
handset::KanaEntry DoubleByteEquivalent(std::uint16_t code) {
    if (code > 0x8396 || code < 0x8140) {
        return {0, 0};
    }
    if ((code >= 0x824F && code <= 0x8258) || (code >= 0x8260 && code <= 0x8279)) {
        return {code, 0};
    }
    if (code >= 0x8281 && code <= 0x829A) {
        // ａ-ｚ lie 0x21 above Ａ-Ｚ.
        return {static_cast<std::uint16_t>(code - 0x21), 0};
    }
    const std::uint16_t jis = ShiftJisToJis(code);
    if (code >= 0x829F) {
        // Hiragana (JIS row 0x24) and katakana (row 0x25) share the cell layout of KanaMap;
        // the gaps of the range (0x82F2-0x833F, 0x837F) fall outside both rows.
        if ((jis >= 0x2421 && jis <= 0x2473) || (jis >= 0x2521 && jis <= 0x2576)) {
            return handset::KanaMap[(jis & 0xFF) - 0x21];
        }
        return {0, 0};
    }
    if (jis >= 0x2120 && jis <= 0x217E) {
        return {handset::SymbolMapRow1[jis - 0x2120], 0};
    }
    if (jis >= 0x2220 && jis <= 0x227E) {
        return {handset::SymbolMapRow2[jis - 0x2220], 0};
    }
    return {0, 0};
}

}  // namespace

bool EncodesWhole(std::string_view line) {
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    const unsigned char* const end = in + line.size();
    while (in != end) {
        switch (ShiftJisByteClass(*in)) {
            case ByteClass::Single:
                ++in;
                break;
            case ByteClass::Lead:
                if (end - in < 2 ||
                    ShiftJisToJis(static_cast<std::uint16_t>(in[0] << 8 | in[1])) == 0) {
                    return false;
                }
                in += 2;
                break;
            case ByteClass::Illegal:
                return false;
        }
    }
    return true;
}

HandsetText ConvertToHandsetText(std::string_view message) {
    // The message box hands over a zero-terminated text.
    message = message.substr(0, message.find('\0'));
    HandsetText result;
    // No input byte gives more than two output bytes (a one-byte character one code, a
    // two-byte character at most two), so the text is written in place without growing.
    result.text.resize(2 * message.size());
    char* const begin = result.text.data();
    char* out = begin;
    const auto* in = reinterpret_cast<const unsigned char*>(message.data());
    const unsigned char* const end = in + message.size();
    bool invalid = false;
    while (in != end) {
        const unsigned char byte = *in;
        if (ShiftJisByteClass(byte) == ByteClass::Lead) {
            if (end - in < 2) {
                // A lead byte without its second byte is dropped, and the end is not passed.
                invalid = true;
                break;
            }
            const auto [first, second] =
                DoubleByteEquivalent(static_cast<std::uint16_t>(byte << 8 | in[1]));
            in += 2;
            if (first == 0) {
                invalid = true;
                continue;
            }
            out = Put(out, first);
            if (second != 0) {
                out = Put(out, second);
            }
        } else {
            const std::uint16_t code = handset::HalfWidthMap[byte];
            ++in;
            if (code == 0) {
                invalid = true;
                continue;
            }
            out = Put(out, code);
        }
    }
    result.text.resize(static_cast<std::size_t>(out - begin));
    result.invalid = invalid;
    return result;
}

std::vector<std::size_t> UnsendableCharacters(std::string_view message, std::size_t limit) {
    message = message.substr(0, message.find('\0'));
    std::vector<std::size_t> found;
    std::size_t index = 0;
    for (std::size_t i = 0; i < message.size() && found.size() < limit; ++index) {
        const auto byte = static_cast<unsigned char>(message[i]);
        std::size_t length = 1;
        bool sendable = false;
        if (message.compare(i, 2, "\r\n") == 0) {
            length = 2;
        } else if (ShiftJisByteClass(byte) == ByteClass::Lead && i + 1 < message.size()) {
            length = 2;
            const auto second = static_cast<unsigned char>(message[i + 1]);
            sendable =
                DoubleByteEquivalent(static_cast<std::uint16_t>(byte << 8 | second)).first != 0;
        } else if (ShiftJisByteClass(byte) != ByteClass::Lead) {
            sendable = handset::HalfWidthMap[byte] != 0;
        }
        if (!sendable) {
            found.push_back(index);
        }
        i += length;
    }
    return found;
}

}  // namespace tarvelo
