// What the submission settings refuse before anything is sent: a login over plain text, a
// password that cannot go out, a login that SASL PLAIN would split. The same rules serve the
// sendings of both programs and the submission dialog's OK.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "base/Error.h"
#include "settings/Submission.h"

namespace tarvelo {
namespace {

struct RuleCase {
    const char* name;
    const char* server;
    std::optional<int> port;
    std::optional<Security> security;
    std::string login;
    std::string password;
    const char* refusal;  // none: it may go
    friend void PrintTo(const RuleCase& row, std::ostream* out) { *out << row.name; }
};

const char* const kPlainLogin =
    "暗号化なしではログインできません。暗号化を STARTTLS か SSL/TLS にしてください";
const char* const kControl = "パスワードに NUL、CR、LF は使えません";

const RuleCase kRules[] = {
    {"LoginOnPort25", "mail.test", {}, {}, "taro", "pw", kPlainLogin},
    {"LoginWithSecurityNone", "mail.test:587", {}, Security::None, "taro", "pw", kPlainLogin},
    {"LoginOnAnotherPortOfTheServer", "mail.test:2525", {}, {}, "taro", "pw", kPlainLogin},
    {"LoginOnPort587OfTheServer", "mail.test:587", {}, {}, "taro", "pw", nullptr},
    {"LoginOnPort465OfTheSettings", "mail.test", 465, {}, "taro", "pw", nullptr},
    {"LoginWithStartTls", "mail.test", 2525, Security::StartTls, "taro", "pw", nullptr},
    {"NoLoginOverPlainText", "mail.test", {}, Security::None, "", "", nullptr},
    {"EmptyPassword", "mail.test:465", {}, {}, "taro", "", "パスワードが空です"},
    {"PasswordWithNul", "mail.test:465", {}, {}, "taro", std::string("a\0b", 3), kControl},
    {"PasswordWithCr", "mail.test:465", {}, {}, "taro", "a\rb", kControl},
    {"PasswordWithLf", "mail.test:465", {}, {}, "taro", "a\n", kControl},
    {"PasswordOfAnyOtherBytes", "mail.test:465", {}, {}, "taro", "\t p\xC3\xA4ss \x7F", nullptr},
    {"LoginWithNul",
     "mail.test:465",
     {},
     {},
     std::string("a\0b", 3),
     "pw",
     "ログイン名に NUL は使えません"},
};

class SubmissionRulesTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SubmissionRulesTest, RefusesOrLetsGo) {
    const RuleCase& row = GetParam();
    SubmissionSettings settings;
    settings.port = row.port;
    settings.security = row.security;
    settings.login = row.login;
    std::string refusal;
    try {
        RefuseLoginWithoutTls(row.server, settings);
        if (!settings.login.empty()) {
            CheckLogin(settings.login);
            CheckPassword(row.password);
        }
    } catch (const Error& error) {
        refusal = error.what();
    }
    EXPECT_EQ(refusal, row.refusal ? row.refusal : "");
}

INSTANTIATE_TEST_SUITE_P(Rows, SubmissionRulesTest, ::testing::ValuesIn(kRules),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
