// The submission's conversation as transcripts: EHLO, STARTTLS, AUTH and several mails, each
// refusal on the way, and what the log may never show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
};

const char* const kEhlo = "250-mx\r\n250-STARTTLS\r\n250 AUTH LOGIN PLAIN\r\n";
const char* const kPlainOnly = "250-mx\r\n250-auth plain\r\n250 SIZE 1000\r\n";
const char* const kLoginOnly = "250-mx\r\n250 AUTH LOGIN\r\n";
const std::string kMail =
    "MAIL FROM:<taro@example.jp>\r\nRCPT TO:<tv@pdx.ne.jp>\r\nDATA\r\nM\r\n.\r\n";
// "\0taro\0pw" and "taro", "pw" in base 64.
const std::string kPlain = "AUTH PLAIN AHRhcm8AcHc=\r\n";

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
     "EHLO example.jp\r\nAUTH LOGIN\r\ndGFybw==\r\ncHc=\r\nRSET\r\n",
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
    {"StartTlsRefused",
     Security::StartTls,
     "taro",
     {"220 hi\r\n", kEhlo, "454 no tls\r\n"},
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
    {"NoMechanismWeMayUse",
     Security::Tls,
     "taro",
     {"220 hi\r\n", "250-mx\r\n250 AUTH CRAM-MD5\r\n"},
     "EHLO example.jp\r\n",
     {Authentication, Authentication}},
    {"NoLoginOutsideTls",
     Security::None,
     "taro",
     {"220 hi\r\n", kEhlo},
     "EHLO example.jp\r\n",
     {Authentication, Authentication}},
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
    SmtpConversation conversation({"taro@example.jp", "pdx.ne.jp"}, {{"M"}, {"M"}},
                                  {.security = row.security, .login = row.login, .password = "pw"});
    std::string wire;
    std::string log;
    std::vector<SendEndKind> ends;
    bool startedTls = false;
    for (const std::string& reply : row.replies) {
        const SmtpActions actions =
            reply == "!tls"
                ? conversation.Take({Kind::TlsFailed, "hostname mismatch"}, SmtpClock::now())
                : conversation.Take({Kind::Bytes, reply}, SmtpClock::now());
        wire += actions.wire;
        for (const std::string& entry : actions.log) {
            log += entry + "\n";
        }
        for (const SendEnd& end : actions.ends) {
            ends.push_back(end.kind);
        }
        startedTls = startedTls || actions.startTls;
    }
    EXPECT_EQ(wire, row.wire);
    EXPECT_EQ(ends, row.ends);
    EXPECT_EQ(startedTls, row.startsTls);
    // The credentials go out, but the log shows them masked.
    EXPECT_EQ(log.find("cHc="), std::string::npos) << log;
    EXPECT_EQ(log.find("AHRhcm8AcHc="), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpSubmission, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The server setting's text with the submission settings over it.
struct TargetCase {
    const char* name;
    const char* server;
    SubmissionSettings settings;
    const char* host;
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
    {"NoPortReadableStaysWhole", "mail.example:smtp", {}, "mail.example:smtp", 25, S::None},
    {"PortZeroStaysWhole", "mail.example:0", {}, "mail.example:0", 25, S::None},
    {"SettingsPortWins", "mail.example:25", WithPort(465), "mail.example", 465, S::Tls},
    {"ExplicitSecurityWins", "mail.example:587", WithSecurity(S::None), "mail.example", 587,
     S::None},
};

class SubmissionTargetTest : public testing::TestWithParam<TargetCase> {};

TEST_P(SubmissionTargetTest, ResolvesHostPortAndSecurity) {
    const TargetCase& row = GetParam();
    const SubmissionTarget target = ResolveSubmission(row.server, row.settings);
    EXPECT_EQ(target.host, row.host);
    EXPECT_EQ(target.port, row.port);
    EXPECT_EQ(target.security, row.security);
}

INSTANTIATE_TEST_SUITE_P(Rows, SubmissionTargetTest, testing::ValuesIn(kTargets),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
