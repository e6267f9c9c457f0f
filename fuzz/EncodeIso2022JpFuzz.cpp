// EncodeIso2022Jp on any bytes: a well-formed line that never ends in double-byte mode; and on
// lines of repertoire characters and ASCII, the same text as glibc's iconv reads it.
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "mail/Iso2022Jp.h"

namespace {

using tarvelo::fuzz::Require;

constexpr std::string_view kToDoubleByte = "\x1B$B";
constexpr std::string_view kToSingleByte = "\x1B(J";

bool IsJisByte(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7E;
}

// A character of the single-byte state: printable ASCII or half-width katakana.
bool IsSingleByteCharacter(unsigned char byte) {
    return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF);
}

// Walks the encoded line as a decoder would and stops the run at the first flaw.
void CheckShape(std::string_view encoded, std::size_t inputSize) {
    Require(encoded.size() <= 3 * inputSize + 3, "the encoded line is at most 3 n + 3 bytes");
    bool doubleByte = false;
    bool afterEscape = false;
    std::size_t i = 0;
    while (i < encoded.size()) {
        const auto byte = static_cast<unsigned char>(encoded[i]);
        Require(byte != 0, "the encoded line holds no zero byte");
        if (byte == 0x1B) {
            Require(!afterEscape, "never two escape sequences in a row");
            const std::string_view escape = encoded.substr(i, 3);
            if (escape == kToDoubleByte) {
                Require(!doubleByte, "ESC $ B only from the single-byte state");
                doubleByte = true;
            } else {
                Require(escape == kToSingleByte, "the only escapes are ESC $ B and ESC ( J");
                Require(doubleByte, "ESC ( J only from the double-byte state");
                doubleByte = false;
            }
            afterEscape = true;
            i += escape.size();
            continue;
        }
        afterEscape = false;
        if (doubleByte) {
            Require(i + 1 < encoded.size() && IsJisByte(byte) &&
                        IsJisByte(static_cast<unsigned char>(encoded[i + 1])),
                    "double-byte mode holds pairs of JIS X 0208 bytes");
            i += 2;
        } else {
            Require(IsSingleByteCharacter(byte), "single-byte mode holds characters only");
            ++i;
        }
    }
    Require(!doubleByte, "the line ends in the single-byte state");
}

// The text of bytes in charset, as wide characters; stops the run when iconv refuses them.
std::wstring Decode(iconv_t cd, std::string_view bytes, const char* promise) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in(bytes);
    std::wstring out(bytes.size() + 1, L'\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(wchar_t);
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    Require(done != static_cast<std::size_t>(-1) && inLeft == 0, promise);
    out.resize(out.size() - outLeft / sizeof(wchar_t));
    return out;
}

// A line of repertoire characters and ASCII made from the fuzz bytes: a printable ASCII byte
// stands for itself, any other picks a repertoire character.
std::string RepertoireAndAscii(std::string_view bytes) {
    const tarvelo::fuzz::Repertoire& repertoire = tarvelo::fuzz::TheRepertoire();
    std::string line;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E) {
            line += c;
        } else {
            const std::uint16_t code = repertoire.At(byte % tarvelo::fuzz::Repertoire::kSize);
            line += static_cast<char>(code >> 8);
            line += static_cast<char>(code & 0xFF);
        }
    }
    return line;
}

// What an ISO-2022-JP reader must see for a CP932 text, in glibc's terms. Two honest
// differences are folded in. From the first double-byte character on, the single-byte state is
// JIS X 0201 Roman (ESC ( J), whose 0x5C and 0x7E are the yen sign and the overline. And CP932
// reads the JIS cell 0x215D (Shift-JIS 0x817C, －) as U+FF0D, where JIS X 0208 readers give
// U+2212.
std::wstring AsIso2022JpReads(std::wstring text) {
    bool roman = false;
    for (wchar_t& c : text) {
        if (c >= 0x80) {
            roman = true;
        }
        if (c == 0xFF0D) {
            c = 0x2212;
        } else if (roman && c == L'\\') {
            c = 0x00A5;
        } else if (roman && c == L'~') {
            c = 0x203E;
        }
    }
    return text;
}

iconv_t Open(const char* from) {
    const iconv_t cd = iconv_open("WCHAR_T", from);
    Require(cd != reinterpret_cast<iconv_t>(-1), "iconv knows the charset");
    return cd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const iconv_t fromCp932 = Open("CP932");
    static const iconv_t fromIso2022Jp = Open("ISO-2022-JP");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    CheckShape(tarvelo::EncodeIso2022Jp(bytes), bytes.size());

    const std::string line = RepertoireAndAscii(bytes);
    const std::string encoded = tarvelo::EncodeIso2022Jp(line);
    CheckShape(encoded, line.size());
    const std::wstring expected =
        AsIso2022JpReads(Decode(fromCp932, line, "iconv reads the line as CP932"));
    const std::wstring actual =
        Decode(fromIso2022Jp, encoded, "iconv reads the encoded line as ISO-2022-JP");
    if (actual != expected) {
        std::fprintf(stderr, "line:    %s\nencoded: %s\n", tarvelo::fuzz::Hex(line).c_str(),
                     tarvelo::fuzz::Hex(encoded).c_str());
    }
    Require(actual == expected, "ISO-2022-JP reads back the text of the CP932 line");
    return 0;
}
