#include "platform/ConsoleText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarvelo {
namespace {

TEST(ConsoleText, TheUsersEncodingOrNothing) {
    const struct {
        const char* encoding;
        std::string bytes;
        std::optional<std::string> utf8;
    } rows[] = {
        {"UTF-8", "\xE3\x82\xA2", "ア"},      {"UTF-8", "\xE3\x82", std::nullopt},  // cut short
        {"UTF-8", "\xFF", std::nullopt},      {"SHIFT_JIS", "\x83\x41\x83\x43", "アイ"},
        {"SHIFT_JIS", "\x83", std::nullopt},  {"EUC-JP", "\xA5\xA2\xA5\xA4", "アイ"},
        {"EUC-JP", "\xA5\x41", std::nullopt},  // a second byte out of range
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ConsoleToUtf8(row.bytes, row.encoding), row.utf8) << row.encoding;
    }
    // What cannot be shown is marked.
    EXPECT_EQ(Utf8ToConsole("ア😀\xFF", "SHIFT_JIS"), "\x83\x41??");
}

}  // namespace
}  // namespace tarvelo
