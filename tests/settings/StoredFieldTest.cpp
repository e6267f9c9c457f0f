// The one rule for a field filled from a file: left alone it goes back as the bytes read,
// whatever the edit could show of them; typed, it is converted.
#include "settings/StoredField.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarvelo {
namespace {

using namespace std::string_literals;

TEST(StoredFieldTest, WhatTheUserLeftAloneGoesBackByteForByte) {
    const struct {
        const char* name;
        FieldEncoding encoding;
        std::string stored;
        std::string shownByLoad;          // what Load gives to show
        std::optional<std::string> kept;  // what the edit then shows, when other than that
        std::string now;                  // what the edit shows at the save
        std::string bytes;
    } rows[] = {
        {"Unedited", FieldEncoding::ShiftJis, "mail", "mail", {}, "mail", "mail"},
        {"ShiftJisShownAsUtf8",
         FieldEncoding::ShiftJis,
         "\x95\xD4\x93\x9A",
         "返答",
         {},
         "返答",
         "\x95\xD4\x93\x9A"},
        // 0xED40, an NEC code that the conversion writes as its IBM twin 0xFA5C.
        {"NecCodeKept", FieldEncoding::ShiftJis, "\xED\x40", "纊", {}, "纊", "\xED\x40"},
        {"NecCodeTyped", FieldEncoding::ShiftJis, "", "", {}, "纊", "\xFA\x5C"},
        {"NoShiftJisShownAsReplacement",
         FieldEncoding::ShiftJis,
         "B\xFF\x80",
         "B\uFFFD\uFFFD",
         {},
         "B\uFFFD\uFFFD",
         "B\xFF\x80"},
        // An edit that cannot hold a zero byte shows the text before it; left alone, the
        // whole value goes back, not the 3 bytes that the edit shows.
        {"ZeroByteCutByTheEdit", FieldEncoding::ShiftJis, "abc\0def"s, "abc\0def"s, "abc", "abc",
         "abc\0def"s},
        {"ZeroByteKeptByTheEdit",
         FieldEncoding::ShiftJis,
         "abc\0def"s,
         "abc\0def"s,
         {},
         "abc\0def"s,
         "abc\0def"s},
        {"EditedAfterTheCut", FieldEncoding::ShiftJis, "abc\0def"s, "abc\0def"s, "abc", "abcd",
         "abcd"},
        {"Utf8Kept", FieldEncoding::Utf8, "us\xC3\xA9r", "usér", {}, "usér", "us\xC3\xA9r"},
        {"BrokenUtf8Kept",
         FieldEncoding::Utf8,
         "u\xC3(\xED\xA0\x80",
         "u\uFFFD(\uFFFD\uFFFD\uFFFD",
         {},
         "u\uFFFD(\uFFFD\uFFFD\uFFFD",
         "u\xC3(\xED\xA0\x80"},
        {"Utf8TypedAsIs", FieldEncoding::Utf8, "old", "old", {}, "usér", "us\xC3\xA9r"},
        {"NeverLoaded", FieldEncoding::ShiftJis, "", "", {}, "", ""},
    };
    for (const auto& row : rows) {
        StoredField field(row.encoding);
        EXPECT_EQ(field.Load(row.stored), row.shownByLoad) << row.name;
        field.Shown(row.kept.value_or(row.shownByLoad));
        EXPECT_EQ(field.Bytes(row.now), row.bytes) << row.name;
    }
}

}  // namespace
}  // namespace tarvelo
