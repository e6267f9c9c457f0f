// What the platform layers need to know of UTF-8 to step over one character.
#pragma once

#include <cstddef>

namespace tarvelo {

// Length of the UTF-8 sequence that starts with lead; 1 for a byte that starts none.
inline std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    return 1;
}

}  // namespace tarvelo
