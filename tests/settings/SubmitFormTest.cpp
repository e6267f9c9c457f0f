// The submission dialog's rules without a window: what the load shows of "tvsubmit.ini" and what
// OK writes back, the password that needs a login.
#include "settings/SubmitForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "Raised.h"
#include "TempDir.h"

namespace tarvelo {
namespace {

using testing::Raised;
using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

TEST(SubmitFormTest, LoadAndOk) {
    const struct {
        const char* name;
        std::optional<std::string> file;  // none: no file
        int port, security;               // what the load shows
        const char *login, *caFile;
        std::function<void(SubmitTexts&)> edit;
        const char* password;  // typed; "" none
        std::string raised;
        bool closes;
        std::optional<std::string> written;  // none: still no file
    } rows[] = {
        {"NoFileStaysNone", {}, 0, 0, "", "", nullptr, "", "", true, {}},
        {"AllSet", "465\r\ntls\r\nuser@example.jp\r\n/ca.pem\r\n", 465, 3, "user@example.jp",
         "/ca.pem", nullptr, "", "", true, "465\r\ntls\r\nuser@example.jp\r\n/ca.pem\r\n"},
        {"SecurityFromTheList", "587\r\n\r\n\r\n\r\n", 587, 0, "", "",
         [](SubmitTexts& t) { t.security = 2; }, "", "", true, "587\r\nstarttls\r\n\r\n\r\n"},
        {"PortBackToTheDefault", "2525\r\nnone\r\n\r\n\r\n", 2525, 1, "", "",
         [](SubmitTexts& t) { t.port = 0; }, "", "", true, "\r\nnone\r\n\r\n\r\n"},
        // Bytes that are no UTF-8 show as U+FFFD and go back as they were while left alone.
        {"BrokenLoginKept", "\r\n\r\nus\xE9r\r\n/c\xFF.pem\r\n", 0, 0, "us\uFFFDr", "/c\uFFFD.pem",
         nullptr, "", "", true, "\r\n\r\nus\xE9r\r\n/c\xFF.pem\r\n"},
        {"LoginTyped",
         {},
         0,
         0,
         "",
         "",
         [](SubmitTexts& t) { t.login = "usér"; },
         "pw",
         "",
         true,
         "\r\n\r\nus\xC3\xA9r\r\n\r\n"},
        {"PasswordWithoutLogin",
         {},
         0,
         0,
         "",
         "",
         nullptr,
         "pw",
         "パスワードはログイン名といっしょに設定します",
         false,
         {}},
        // A sending's rules, at OK already; nothing is written and the dialog stays open.
        {"LoginOverPlainText",
         {},
         0,
         0,
         "",
         "",
         [](SubmitTexts& t) {
             t.login = "taro";
             t.security = 1;
         },
         "",
         "暗号化なしではログインできません。暗号化を STARTTLS か SSL/TLS にしてください",
         false,
         {}},
        {"LoginWithNul",
         {},
         0,
         0,
         "",
         "",
         [](SubmitTexts& t) { t.login = std::string("a\0b", 3); },
         "",
         "ログイン名に NUL は使えません",
         false,
         {}},
        {"PasswordThatCannotGoOut",
         {},
         0,
         0,
         "",
         "",
         [](SubmitTexts& t) { t.login = "taro"; },
         "a\rb",
         "パスワードに NUL、CR、LF は使えません",
         false,
         {}},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        if (row.file) {
            WriteFileBytes("tvsubmit.ini", *row.file);
        }
        SubmitForm form;
        SubmitTexts texts = form.Load();
        EXPECT_EQ(texts.port, row.port) << row.name;
        EXPECT_EQ(texts.security, row.security) << row.name;
        EXPECT_EQ(texts.login, row.login) << row.name;
        EXPECT_EQ(texts.caFile, row.caFile) << row.name;
        form.Shown(texts);
        if (row.edit) {
            row.edit(texts);
        }
        // Port 587 of the server: a login goes over STARTTLS unless a row says otherwise.
        EXPECT_EQ(Raised([&] { form.Ok(texts, "mail.example:587", row.password); }), row.raised)
            << row.name;
        EXPECT_EQ(form.Closes(), row.closes) << row.name;
        const std::optional<std::string> written =
            std::filesystem::exists("tvsubmit.ini") ? std::optional(ReadFileBytes("tvsubmit.ini"))
                                                    : std::nullopt;
        EXPECT_EQ(written, row.written) << row.name;
    }
}

// Said at the load; an OK after it (a window that opened all the same) writes nothing, so that
// the login, the CA file and the security are never turned into defaults.
TEST(SubmitFormTest, ALineThatCannotBeReadIsSaidAtTheLoadAndNeverWrittenOver) {
    TempWorkingDir dir;
    const std::string file = "5877x\r\nstarttls\r\nalice@example.jp\r\n/etc/tarvelo/ca.pem\r\n";
    WriteFileBytes("tvsubmit.ini", file);
    SubmitForm form;
    const std::string reason =
        "ﾌｧｲﾙ tvsubmit.ini のポート番号「5877x」は1～65535 の数ではありません";
    EXPECT_EQ(Raised([&] { form.Load(); }), reason);
    EXPECT_EQ(Raised([&] { form.Ok({}, "mail.example", ""); }), reason);
    EXPECT_FALSE(form.Closes());
    EXPECT_EQ(ReadFileBytes("tvsubmit.ini"), file);
}

// The port edit of a toolkit without a spinner of its own: what it shows, what its text stands
// for, where its arrows take it.
TEST(SubmitFormTest, PortEdit) {
    const struct {
        const char* name;
        const char* text;
        int port;  // -1: refused
        int delta;
        const char* stepped;
    } rows[] = {
        {"DefaultWord", "既定", 0, 1, "1"},
        {"NothingIsTheDefault", "", 0, 25, "25"},
        {"Digits", "587", 587, -1, "586"},
        {"DownToTheDefault", "1", 1, -1, "既定"},
        {"NotBelowTheDefault", "既定", 0, -1, "既定"},
        {"NotAboveTheLast", "65535", 65535, 1, "65535"},
        {"TooLarge", "65536", -1, 1, "1"},
        {"Zero", "0", -1, 1, "1"},
        {"Sign", "+25", -1, 1, "1"},
        {"Blank", "25 ", -1, 1, "1"},
        {"WordCut", "既", -1, 1, "1"},
    };
    for (const auto& row : rows) {
        if (row.port >= 0) {
            EXPECT_EQ(PortOfText(row.text), row.port) << row.name;
            EXPECT_EQ(PortText(row.port), row.text[0] == '\0' ? "既定" : row.text) << row.name;
        } else {
            EXPECT_EQ(Raised([&] { PortOfText(row.text); }),
                      "ポート番号「" + std::string(row.text) + "」は1～65535 の数ではありません")
                << row.name;
        }
        EXPECT_EQ(PortStepped(row.text, row.delta), row.stepped) << row.name;
    }
}

}  // namespace
}  // namespace tarvelo
