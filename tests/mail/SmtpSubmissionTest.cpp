// The submission's conversation as transcripts: EHLO, STARTTLS, AUTH and several mails, each
// refusal on the way. The reads say whether the connection is TLS, as the transport would; the
// lines with the password are the drive loop's to write and stand here as "[...]".
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/Error.h"
#include "mail/SmtpConversation.h"
#include "mail/SubmissionTarget.h"

namespace tarvelo {
namespace {

using Kind = SmtpRead::Kind;

// A server's reads in turn, the last may be a hang-up or a failure of TLS.
struct SubmissionCase {
    const char* name;
    Security security;
    const char* login;
    std::vector<std::string> replies;  // each one whole reply, or "!tls" for a failed handshake
    std::string wire;                  // everything sent, in order
    std::vector<SendEndKind> ends;     // of the two mails
    bool startsTls = false;            // asked for TLS on the way
    std::string detail = {};           // of the last end, when the row names it
    // The connection is plain although the settings say TLS; otherwise it is TLS from the first
    // byte with Security::Tls, and from the reply after STARTTLS's 220 otherwise.
    bool plainForAllThat = false;
    friend void PrintTo(const SubmissionCase& row, std::ostream* out) { *out << row.name; }
};

const char* const kEhlo = "250-mx\r\n250-STARTTLS\r\n250 AUTH LOGIN PLAIN\r\n";
const char* const kPlainOnly = "250-mx\r\n250-auth plain\r\n250 SIZE 1000\r\n";
const char* const kLoginOnly = "250-mx\r\n250 AUTH LOGIN\r\n";
const std::string kMail =
    "MAIL FROM:<taro@example.jp>\r\nRCPT TO:<tv@pdx.ne.jp>\r\nDATA\r\nM\r\n.\r\n";
const std::string kPlain = "[AUTH PLAIN]\r\n";

using enum SendEndKind;

const SubmissionCase kCases[] = {
    {"StartTlsThenPlainThenTwoMails",
     Security::StartTls,
     "taro",
     {"220 hi\r\n", kEhlo, "220 go\r\n", kEhlo, "235 ok\r\n", "250 r\r\n", "250 f\r\n", "250 t\r\n",
      "354 d\r\n", "250 one\r\n", "250 r\r\n", "250 f\r\n", "250 t\r\n", "354 d\r\n", "250 two\r\n",
      "221 bye\r\n"},
     "EHLO example.jp\r\nSTARTTLS\r\nEHLO example.jp\r\n" + kPlain + "RSET\r\n" + kMail +
         "RSET\r\n" + kMail + "QUIT\r\n",
     {Delivered, Delivered},
     true},
    {"TlsFromTheFirstByteNeedsNoStartTls",
     Security::Tls,
     "taro",
     {"220 hi\r\n", kPlainOnly, "235 ok\r\n"},
     "EHLO example.jp\r\n" + kPlain + "RSET\r\n",
     {}},
    {"LoginInTwoSteps",
     Security::Tls,
     "taro",
     {"220 hi\r\n", kLoginOnly, "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n", "235 ok\r\n"},
     "EHLO example.jp\r\nAUTH LOGIN\r\ndGFybw==\r\n[PASSWORD]\r\nRSET\r\n",
     {}},
    {"SecurityWithoutLoginSkipsAuth",
     Security::Tls,
     "",
     {"220 hi\r\n", kEhlo, "250 r\r\n"},
     "EHLO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\n",
     {}},
    {"StartTlsNotOffered",
     Security::StartTls,
     "taro",
     {"220 hi\r\n", "250-mx\r\n250 AUTH PLAIN\r\n"},
     "EHLO example.jp\r\n",
     {Tls, Tls}},
    {"StartTlsRefusedForNow",
     Security::StartTls,
     "taro",
     {"220 hi\r\n", kEhlo, "454 no tls\r\n"},
     "EHLO example.jp\r\nSTARTTLS\r\n",
     {RefusedTemporary, RefusedTemporary}},
    {"StartTlsRefusedForGood",
     Security::StartTls,
     "taro",
     {"220 hi\r\n", kEhlo, "502 no\r\n"},
     "EHLO example.jp\r\nSTARTTLS\r\n",
     {Tls, Tls}},
    {"HandshakeFails",
     Security::StartTls,
     "taro",
     {"220 hi\r\n", kEhlo, "220 go\r\n", "!tls"},
     "EHLO example.jp\r\nSTARTTLS\r\nEHLO example.jp\r\n",
     {Tls, Tls},
     true},
    {"EhloRefused",
     Security::Tls,
     "",
     {"220 hi\r\n", "554 go away\r\n"},
     "EHLO example.jp\r\n",
     {RefusedPermanent, RefusedPermanent}},
    {"PasswordRefused",
     Security::Tls,
     "taro",
     {"220 hi\r\n", kEhlo, "535 bad\r\n"},
     "EHLO example.jp\r\n" + kPlain,
     {Authentication, Authentication}},
    {"LoginNameRefused",
     Security::Tls,
     "taro",
     {"220 hi\r\n", kLoginOnly, "535 who\r\n"},
     "EHLO example.jp\r\nAUTH LOGIN\r\n",
     {Authentication, Authentication}},
    {"LoginRefusedForNow",
     Security::Tls,
     "taro",
     {"220 hi\r\n", kEhlo, "454 later\r\n"},
     "EHLO example.jp\r\n" + kPlain,
     {RefusedTemporary, RefusedTemporary}},
    {"NoMechanismWeKnow",
     Security::Tls,
     "taro",
     {"220 hi\r\n", "250-mx\r\n250 AUTH CRAM-MD5 XOAUTH2\r\n"},
     "EHLO example.jp\r\n",
     {NoLoginMethod, NoLoginMethod},
     false,
     "the server offers no login method that Tarvelo knows (offered: CRAM-MD5 XOAUTH2)"},
    {"NoAuthOffered",
     Security::Tls,
     "taro",
     {"220 hi\r\n", "250-mx\r\n250 SIZE 10\r\n"},
     "EHLO example.jp\r\n",
     {NoLoginMethod, NoLoginMethod},
     false,
     "the server offers no login method that Tarvelo knows (offered: none)"},
    {"NoLoginOutsideTls",
     Security::None,
     "taro",
     {"220 hi\r\n", kEhlo},
     "EHLO example.jp\r\n",
     {Tls, Tls}},
    // The settings say TLS, the reads say plain: the reads win, and no login goes out.
    {"TlsSaidButTheConnectionIsPlain",
     Security::Tls,
     "taro",
     {"220 hi\r\n", kEhlo},
     "EHLO example.jp\r\n",
     {Tls, Tls},
     false,
     "the login is sent only over TLS: set the security to STARTTLS or TLS",
     true},
    {"FirstMailRefusedTheSecondStillGoes",
     Security::Tls,
     "",
     {"220 hi\r\n", kEhlo, "250 r\r\n", "250 f\r\n", "550 no such\r\n", "250 r\r\n", "250 f\r\n",
      "250 t\r\n", "354 d\r\n", "250 two\r\n"},
     "EHLO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\nRCPT "
     "TO:<tv@pdx.ne.jp>\r\nRSET\r\n" +
         kMail + "QUIT\r\n",
     {RefusedPermanent, Delivered}},
};

class SmtpSubmission : public testing::TestWithParam<SubmissionCase> {};

TEST_P(SmtpSubmission, SpeaksAndEndsAsTheServerSays) {
    const SubmissionCase& row = GetParam();
    const std::vector<std::vector<std::string>> mails{{"M"}, {"M"}};
    SmtpConversation conversation({"taro@example.jp", "pdx.ne.jp"}, mails,
                                  {.security = row.security, .login = row.login});
    std::string wire;
    std::vector<SendEnd> ends;
    bool tls = row.security == Security::Tls && !row.plainForAllThat;
    for (const std::string& reply : row.replies) {
        const SmtpActions actions =
            reply == "!tls"
                ? conversation.Take({Kind::TlsFailed, "hostname mismatch", tls}, SmtpClock::now())
                : conversation.Take({Kind::Bytes, reply, tls}, SmtpClock::now());
        wire += actions.wire;
        if (actions.secret == SecretLine::AuthPlain) {
            wire += kPlain;
        } else if (actions.secret == SecretLine::AuthLoginPassword) {
            wire += "[PASSWORD]\r\n";
        }
        ends.insert(ends.end(), actions.ends.begin(), actions.ends.end());
        tls = tls || actions.startTls;
    }
    EXPECT_EQ(wire, row.wire);
    std::vector<SendEndKind> kinds;
    for (const SendEnd& end : ends) {
        kinds.push_back(end.kind);
    }
    EXPECT_EQ(kinds, row.ends);
    EXPECT_EQ(tls && row.security != Security::Tls, row.startsTls);
    if (!row.detail.empty()) {
        ASSERT_FALSE(ends.empty());
        EXPECT_EQ(ends.back().detail, row.detail);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpSubmission, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The server setting's text with the submission settings over it.
struct TargetCase {
    const char* name;
    const char* server;
    SubmissionSettings settings;
    const char* host;  // none: the server setting is refused
    int port;
    Security security;
};

using S = Security;

SubmissionSettings WithPort(int port) {
    SubmissionSettings settings;
    settings.port = port;
    return settings;
}

SubmissionSettings WithSecurity(Security security) {
    SubmissionSettings settings;
    settings.security = security;
    return settings;
}

const TargetCase kTargets[] = {
    {"NameAloneIsTheClassicPort25", "mail.example", {}, "mail.example", 25, S::None},
    {"DottedAddressAlone", "192.0.2.1", {}, "192.0.2.1", 25, S::None},
    {"PortAfterTheName", "mail.example:587", {}, "mail.example", 587, S::StartTls},
    {"Port465MeansTls", "mail.example:465", {}, "mail.example", 465, S::Tls},
    {"BracketedIpv6WithPort", "[2001:db8::1]:2525", {}, "2001:db8::1", 2525, S::None},
    {"BracketedIpv6Alone", "[::1]", {}, "::1", 25, S::None},
    {"Ipv6AloneStaysWhole", "::1", {}, "::1", 25, S::None},
    // A port that is not one is refused: port 25 of a host by another name is not what was meant.
    {"PortZero", "mail.test:0", {}, nullptr, 0, S::None},
    {"PortTooLarge", "mail.test:65536", {}, nullptr, 0, S::None},
    {"PortEmpty", "mail.test:", {}, nullptr, 0, S::None},
    {"PortByName", "mail.example:smtp", {}, nullptr, 0, S::None},
    {"AfterTheBracketNoColon", "[::1]x", {}, nullptr, 0, S::None},
    {"BracketNeverClosed", "[::1", {}, nullptr, 0, S::None},
    {"SettingsPortWins", "mail.example:25", WithPort(465), "mail.example", 465, S::Tls},
    {"ExplicitSecurityWins", "mail.example:587", WithSecurity(S::None), "mail.example", 587,
     S::None},
};

class SubmissionTargetTest : public testing::TestWithParam<TargetCase> {};

TEST_P(SubmissionTargetTest, ResolvesHostPortAndSecurity) {
    const TargetCase& row = GetParam();
    if (row.host == nullptr) {
        try {
            ResolveSubmission(row.server, row.settings);
            ADD_FAILURE() << "resolved";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), "SMTP Server「" + std::string(row.server) +
                                        "」のポート番号は1～65535 の数ではありません");
        }
        return;
    }
    const SubmissionTarget target = ResolveSubmission(row.server, row.settings);
    EXPECT_EQ(target.host, row.host);
    EXPECT_EQ(target.port, row.port);
    EXPECT_EQ(target.security, row.security);
}

INSTANTIATE_TEST_SUITE_P(Rows, SubmissionTargetTest, testing::ValuesIn(kTargets),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
