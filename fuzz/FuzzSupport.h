// What the fuzz targets share: a check that stops the run, and the handset's repertoire built
// apart from the converter's own tables, as the answer key the targets judge by.
#pragma once

#include <iconv.h>

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tarvelo::fuzz {

// libFuzzer saves the input of any abort as a crash file; the message says which promise broke.
inline void Require(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", promise);
        std::abort();
    }
}

// The bytes of text as hexadecimal, for the message of a broken promise.
inline std::string Hex(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
        hex += ' ';
    }
    return hex;
}

// The 98 Shift-JIS codes that the handset shows, in code order. The symbols are listed by code;
// ０-９ and Ａ-Ｚ are contiguous; the katakana are found by iconv from their Unicode form, so
// that a slip in the converter's own tables cannot hide in the key too.
class Repertoire {
public:
    static constexpr std::size_t kSize = 98;

    Repertoire() {
        // 　？！゛゜ー／“”（）－￥＃＆＊
        constexpr std::array<std::uint16_t, 16> kSymbols = {
            0x8140, 0x8148, 0x8149, 0x814A, 0x814B, 0x815B, 0x815E, 0x8167,
            0x8168, 0x8169, 0x816A, 0x817C, 0x818F, 0x8194, 0x8195, 0x8196};
        for (const std::uint16_t code : kSymbols) {
            Add(code);
        }
        // ０-９, then Ａ-Ｚ.
        for (std::uint16_t code = 0x824F; code <= 0x8258; ++code) {
            Add(code);
        }
        for (std::uint16_t code = 0x8260; code <= 0x8279; ++code) {
            Add(code);
        }
        // The 46 plain katakana: no small, voiced or half-voiced forms, no ヰ or ヱ.
        const std::string kana = ToCp932(
            "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨ"
            "ラリルレロワヲン");
        Require(kana.size() == 2 * 46, "iconv gives the 46 katakana as double-byte codes");
        for (std::size_t i = 0; i < kana.size(); i += 2) {
            Add(static_cast<std::uint16_t>(static_cast<unsigned char>(kana[i]) << 8 |
                                           static_cast<unsigned char>(kana[i + 1])));
        }
        Require(members_.count() == kSize, "the repertoire has 98 distinct codes");
        std::size_t next = 0;
        for (std::size_t code = 0; code < members_.size(); ++code) {
            if (members_[code]) {
                ordered_[next++] = static_cast<std::uint16_t>(code);
            }
        }
    }

    bool Contains(std::uint16_t code) const { return members_[code]; }

    // The index-th code in code order; index < kSize.
    std::uint16_t At(std::size_t index) const { return ordered_[index]; }

private:
    void Add(std::uint16_t code) { members_[code] = true; }

    static std::string ToCp932(std::string_view utf8) {
        iconv_t cd = iconv_open("CP932", "UTF-8");
        Require(cd != reinterpret_cast<iconv_t>(-1), "iconv knows CP932");
        std::string in(utf8);
        std::string out(2 * in.size(), '\0');
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        iconv_close(cd);
        Require(done != static_cast<std::size_t>(-1) && inLeft == 0, "the katakana are in CP932");
        out.resize(out.size() - outLeft);
        return out;
    }

    std::bitset<0x10000> members_;
    std::array<std::uint16_t, kSize> ordered_{};
};

// The one repertoire of a run, built on first use.
inline const Repertoire& TheRepertoire() {
    static const Repertoire repertoire;
    return repertoire;
}

}  // namespace tarvelo::fuzz
