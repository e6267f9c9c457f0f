// "tvsubmit.ini": what reading each kind of file gives, and what writing that back leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "TempDir.h"
#include "base/Error.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

struct SubmitCase {
    const char* name;
    std::optional<std::string> file;  // none: no file; "/": a directory by that name
    SubmissionSettings read;
    const char* error;    // nullptr: read without error
    const char* written;  // the file after writing back what was read; nullptr: as it was, or none
};

void PrintTo(const SubmitCase& row, std::ostream* out) {
    *out << row.name;
}

const SubmitCase kSubmitCases[] = {
    {"Absent", std::nullopt, {}, nullptr, nullptr},
    {"Port", "587\r\n", {587, {}, "", ""}, nullptr, "587\r\n\r\n\r\n\r\n"},
    {"PortLeadingZero", "0465\n", {465, {}, "", ""}, nullptr, "465\r\n\r\n\r\n\r\n"},
    {"HighestPort", "65535", {65535, {}, "", ""}, nullptr, "65535\r\n\r\n\r\n\r\n"},
    {"SecurityNone", "\nnone", {{}, Security::None, "", ""}, nullptr, "\r\nnone\r\n\r\n\r\n"},
    {"SecurityStartTls",
     "\nstarttls",
     {{}, Security::StartTls, "", ""},
     nullptr,
     "\r\nstarttls\r\n\r\n\r\n"},
    {"SecurityTls", "\ntls", {{}, Security::Tls, "", ""}, nullptr, "\r\ntls\r\n\r\n\r\n"},
    {"Login",
     "\r\n\r\nやまだ@example.jp\r\n",
     {{}, {}, "やまだ@example.jp", ""},
     nullptr,
     "\r\n\r\nやまだ@example.jp\r\n\r\n"},
    {"CaFile",
     "\n\n\n/etc/私の CA.pem\n",
     {{}, {}, "", "/etc/私の CA.pem"},
     nullptr,
     "\r\n\r\n\r\n/etc/私の CA.pem\r\n"},
    {"LinesAfterTheFourthDropped",
     "25\r\nnone\r\na\r\nb\r\nextra\r\n",
     {25, Security::None, "a", "b"},
     nullptr,
     "25\r\nnone\r\na\r\nb\r\n"},
    {"RoundTripByteForByte",
     "587\r\nstarttls\r\n me \r\n\xFF\x80.pem\r\n",
     {587, Security::StartTls, " me ", "\xFF\x80.pem"},
     nullptr,
     "587\r\nstarttls\r\n me \r\n\xFF\x80.pem\r\n"},
    {"ClearedFileKept", "\r\n\r\n\r\n\r\n", {}, nullptr, "\r\n\r\n\r\n\r\n"},
    {"EmptyFileKept", "", {}, nullptr, "\r\n\r\n\r\n\r\n"},
    {"PortZero",
     "0\r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini のポート番号「0」は1～65535 の数ではありません",
     "0\r\n"},
    {"PortTooLarge",
     "65536\r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini のポート番号「65536」は1～65535 の数ではありません",
     "65536\r\n"},
    {"PortWithBlank",
     "587 \r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini のポート番号「587 」は1～65535 の数ではありません",
     "587 \r\n"},
    {"PortSigned",
     "+587\r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini のポート番号「+587」は1～65535 の数ではありません",
     "+587\r\n"},
    {"UnknownWord",
     "465\r\nssl\r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini の暗号化「ssl」はnone、starttls、tls のどれかではありません",
     "465\r\nssl\r\n"},
    {"WordInCapitals",
     "\r\nTLS\r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini の暗号化「TLS」はnone、starttls、tls のどれかではありません",
     "\r\nTLS\r\n"},
    {"Directory", "/", {}, "ﾌｧｲﾙ tvsubmit.ini は開けません", nullptr},
    // A zero byte is shown, not taken for the end of the message.
    {"PortWithZeroByte",
     std::string("2\0"
                 "5\r\n",
                 5),
     {},
     "ﾌｧｲﾙ tvsubmit.ini のポート番号「2^@5」は1～65535 の数ではありません",
     nullptr},
    {"ByteOrderMark",
     "\xEF\xBB\xBF"
     "25\r\n",
     {},
     "ﾌｧｲﾙ tvsubmit.ini はバイト順マーク(BOM)で始まっています。BOM なしの UTF-8 で保存してください",
     "\xEF\xBB\xBF"
     "25\r\n"},
    // SASL PLAIN splits at NUL: "a\0b" would log in as "a" with the password "b...".
    {"LoginWithZeroByte",
     std::string("\r\n\r\na\0b\r\n", 8),
     {},
     "ﾌｧｲﾙ tvsubmit.ini のログイン名に NUL は使えません",
     nullptr},
};

class SubmissionStoreTest : public ::testing::TestWithParam<SubmitCase> {};

TEST_P(SubmissionStoreTest, ReadsAndWritesBack) {
    const SubmitCase& row = GetParam();
    TempWorkingDir dir;
    const std::string fileName(kSubmitFileName);
    if (row.file == "/") {
        std::filesystem::create_directory(fileName);
    } else if (row.file) {
        WriteFileBytes(fileName, *row.file);
    }
    try {
        const SubmissionSettings settings = ReadSubmission();
        ASSERT_EQ(row.error, nullptr);
        EXPECT_EQ(settings.port, row.read.port);
        EXPECT_EQ(settings.security, row.read.security);
        EXPECT_EQ(settings.login, row.read.login);
        EXPECT_EQ(settings.caFile, row.read.caFile);
        WriteSubmission(settings);
    } catch (const Error& error) {
        ASSERT_NE(row.error, nullptr) << error.what();
        EXPECT_STREQ(error.what(), row.error);
    }
    if (row.written == nullptr) {
        EXPECT_TRUE(!std::filesystem::is_regular_file(fileName) ||
                    ReadFileBytes(fileName) == row.file);
    } else {
        EXPECT_EQ(ReadFileBytes(fileName), row.written);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SubmissionStoreTest, ::testing::ValuesIn(kSubmitCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tarvelo
