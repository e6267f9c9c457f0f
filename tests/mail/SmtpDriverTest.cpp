// The drive loop: against a server that stops reading after 354 (a poll never waits for the
// socket to take the mail, and the send's bound ends the sending with its reason), and over a
// transport of the test's own that says whether TLS is up, where the password may go out only
// while it does, never reaches the log in any form, and is zeroed once it has been sent. Against a
// TLS handshake that stalls: a blocking drive sleeps on what TLS waits for, and the handshake's
// bound ends it with its own reason.
#include "mail/SmtpDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedServer.h"

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using testing::ScriptedServer;

TEST(SmtpDriver, APollNeverWaitsForTheServerToTakeTheMail) {
    testing::ShrinkSocketBuffers();
    ScriptedServer server(testing::StopsReadingAfterData(1500ms));
    const std::vector<std::string> mail(256, std::string(1000, 'x'));
    SmtpDriver driver(std::make_unique<TcpTransport>(), ResolveSubmission("127.0.0.1", {}),
                      {"a@b.example", "gw.example"}, {mail}, SecretText(),
                      {.reply = 30s, .send = 600ms});
    ASSERT_EQ(driver.Connect(), std::nullopt);

    auto longest = 0ms;
    std::vector<SendEnd> ends;
    const auto start = std::chrono::steady_clock::now();
    while (driver.Conversation().Outcome() == SmtpOutcome::Waiting &&
           std::chrono::steady_clock::now() - start < 10s) {
        const auto before = std::chrono::steady_clock::now();
        const SmtpActions actions = driver.Drive(DriveMode::PollOnce);
        longest = std::max(longest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - before));
        ends.insert(ends.end(), actions.ends.begin(), actions.ends.end());
        std::this_thread::sleep_for(50ms);  // the window's timer
    }
    EXPECT_LT(longest, 200ms) << "a poll waited for the socket";
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].kind, SendEndKind::Overdue);
    EXPECT_EQ(ends[0].detail, "the server did not take the data in time");
}

// What the transport was asked to do, shared with the test after the driver owns it.
struct Record {
    std::string wire;
    // Where the bytes of each line with the password lay when they were handed over.
    std::vector<std::pair<const char*, std::size_t>> secretBuffers;
};

// How the handshake that StartTls begins ends, at the next Send.
enum class Handshake {
    Works,
    Fails,   // that Send fails with the reason
    NeverUp  // a transport that takes StartTls and carries on in plain text all the same
};

// A transport that answers each line sent with the next reply of its script.
class ScriptedTransport : public Transport {
public:
    ScriptedTransport(std::deque<std::string> replies, Handshake handshake, Record& record)
        : replies_(std::move(replies)), handshake_(handshake), record_(record) {}

    void BeginConnect(const std::string&, int, std::chrono::milliseconds) override { Answer(); }
    std::optional<ConnectFailure> Connecting(std::chrono::milliseconds) override {
        return ConnectFailure::None;
    }
    TransportSend Send(std::string_view bytes) override {
        if (handshaking_) {
            handshaking_ = false;
            if (handshake_ == Handshake::Fails) {
                failure_ = "the TLS handshake failed: test";
                return {.failed = true};
            }
            tls_ = handshake_ == Handshake::Works;
        }
        if (bytes.starts_with("AUTH PLAIN ") || bytes.starts_with("cGFzc3dvcmQ")) {
            record_.secretBuffers.emplace_back(bytes.data(), bytes.size());
        }
        record_.wire += bytes;
        if (bytes.ends_with("\r\n")) {
            Answer();
        }
        return {.taken = bytes.size()};
    }
    TransportRead Receive(std::span<char> buffer) override {
        if (ready_.empty()) {
            return {TransportRead::Kind::Nothing};
        }
        const std::size_t count = std::min(buffer.size(), ready_.size());
        std::copy_n(ready_.begin(), count, buffer.begin());
        ready_.erase(0, count);
        return {TransportRead::Kind::Bytes, count};
    }
    bool Wait(bool, std::chrono::milliseconds) override { return !ready_.empty(); }
    bool HasBuffered() const override { return false; }
    std::optional<Awaits> Blocked() const override { return std::nullopt; }
    bool Handshaking() const override { return handshaking_; }
    bool StartTls(const TlsRequest&) override {
        handshaking_ = true;
        return true;
    }
    bool TlsActive() const override { return tls_; }
    std::string TlsFailure() const override { return failure_; }

private:
    void Answer() {
        if (!replies_.empty()) {
            ready_ += replies_.front();
            replies_.pop_front();
        }
    }

    std::deque<std::string> replies_;
    Handshake handshake_;
    Record& record_;
    std::string ready_;
    bool handshaking_ = false;
    bool tls_ = false;
    std::string failure_;
};

const std::string kEhlo = "250-mx\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN\r\n";
// "password" and "\0taro\0password" in base 64, as AUTH LOGIN and AUTH PLAIN carry it.
const std::string kLoginForm = "cGFzc3dvcmQ=";
const std::string kPlainForm = "AHRhcm8AcGFzc3dvcmQ=";

struct TlsCase {
    const char* name;
    Security security;
    Handshake handshake;
    std::deque<std::string> replies;  // the greeting, then one for each line sent
    std::string wire;                 // what went out, in order
    std::string log;                  // the debug log, one entry a line
    SendEndKind end;
    friend void PrintTo(const TlsCase& row, std::ostream* out) { *out << row.name; }
};

const TlsCase kTlsCases[] = {
    {"StartTlsThenPlain",
     Security::StartTls,
     Handshake::Works,
     {"220 hi\r\n", kEhlo, "220 go\r\n", kEhlo, "235 ok\r\n", "250 r\r\n", "250 f\r\n", "250 t\r\n",
      "354 d\r\n", "250 kept\r\n", "221 bye\r\n"},
     "EHLO b.example\r\nSTARTTLS\r\nEHLO b.example\r\nAUTH PLAIN " + kPlainForm +
         "\r\nRSET\r\nMAIL FROM:<a@b.example>\r\nRCPT "
         "TO:<tv@gw.example>\r\nDATA\r\nM\r\n.\r\nQUIT\r\n",
     " R:220 hi\n S:EHLO b.example\n R:250-mx\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN\n"
     " S:STARTTLS\n R:220 go\n S:EHLO b.example\n R:250-mx\r\n250-STARTTLS\r\n250 AUTH PLAIN "
     "LOGIN\n S:AUTH PLAIN ****\n R:235 ok\n S:RSET\n R:250 r\n S:MAIL FROM:<a@b.example>\n"
     " R:250 f\n S:RCPT TO:<tv@gw.example>\n R:250 t\n S:DATA\n R:354 d\n S:M\n S:.\n"
     " R:250 kept\n S:QUIT\n R:221 bye\n",
     SendEndKind::Delivered},
    {"TlsThenLogin",
     Security::Tls,
     Handshake::Works,
     {"220 hi\r\n", "250-mx\r\n250 AUTH LOGIN\r\n", "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n",
      "535 no\r\n"},
     "EHLO b.example\r\nAUTH LOGIN\r\ndGFybw==\r\n" + kLoginForm + "\r\n",
     " R:220 hi\n S:EHLO b.example\n R:250-mx\r\n250 AUTH LOGIN\n S:AUTH LOGIN\n"
     " R:334 VXNlcm5hbWU6\n S:****\n R:334 UGFzc3dvcmQ6\n S:****\n R:535 no\n",
     SendEndKind::Authentication},
    // The handshake fails while the EHLO after it waits: that EHLO never left, and the log
    // does not say it did.
    {"HandshakeFailsBeforeTheEhlo",
     Security::StartTls,
     Handshake::Fails,
     {"220 hi\r\n", kEhlo, "220 go\r\n"},
     "EHLO b.example\r\nSTARTTLS\r\n",
     " R:220 hi\n S:EHLO b.example\n R:250-mx\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN\n"
     " S:STARTTLS\n R:220 go\n",
     SendEndKind::Tls},
    // The target says TLS and the transport says it is not up: the transport's word decides,
    // and no password goes out.
    {"TargetSaysTlsTransportSaysPlain",
     Security::Tls,
     Handshake::NeverUp,
     {"220 hi\r\n", kEhlo},
     "EHLO b.example\r\n",
     " R:220 hi\n S:EHLO b.example\n R:250-mx\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN\n",
     SendEndKind::Tls},
};

class SmtpDriverTls : public ::testing::TestWithParam<TlsCase> {};

TEST_P(SmtpDriverTls, PasswordOnlyInsideTlsNeverInTheLogZeroedOnceSent) {
    const TlsCase& row = GetParam();
    Record record;
    const SubmissionTarget target{
        .host = "mail.test", .security = row.security, .login = "taro", .caFile = ""};
    SmtpDriver driver(std::make_unique<ScriptedTransport>(row.replies, row.handshake, record),
                      target, {"a@b.example", "gw.example"}, {{"M"}}, SecretText("password"), {});
    ASSERT_EQ(driver.Connect(), std::nullopt);
    std::string log;
    std::vector<SendEnd> ends;
    for (int turn = 0; turn < 100 && driver.Conversation().Outcome() == SmtpOutcome::Waiting;
         ++turn) {
        const SmtpActions actions = driver.Drive(DriveMode::PollOnce);
        for (const std::string& entry : actions.log) {
            log += entry + "\n";
        }
        ends.insert(ends.end(), actions.ends.begin(), actions.ends.end());
        for (const auto& [bytes, size] : record.secretBuffers) {
            EXPECT_TRUE(std::all_of(bytes, bytes + size, [](char c) { return c == '\0'; }))
                << "the line with the password is still in the driver's buffer";
        }
    }
    EXPECT_EQ(record.wire, row.wire);
    EXPECT_EQ(log, row.log);
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.front().kind, row.end);
    for (const std::string& form : {std::string("password"), kLoginForm, kPlainForm}) {
        EXPECT_EQ(log.find(form), std::string::npos) << form;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpDriverTls, ::testing::ValuesIn(kTlsCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A server that answers until TLS begins and then says nothing: the handshake waits to read,
// while the socket would take writing at once, as a real one does.
class StalledHandshake : public Transport {
public:
    explicit StalledHandshake(std::vector<std::string> replies) : replies_(std::move(replies)) {}

    void BeginConnect(const std::string&, int, std::chrono::milliseconds) override {}
    std::optional<ConnectFailure> Connecting(std::chrono::milliseconds) override {
        return ConnectFailure::None;
    }
    TransportSend Send(std::string_view bytes) override {
        return {.taken = tls_ ? 0 : bytes.size()};
    }
    TransportRead Receive(std::span<char> buffer) override {
        if (tls_ || next_ == replies_.size()) {
            return {TransportRead::Kind::Nothing};
        }
        const std::string& reply = replies_[next_++];
        std::memcpy(buffer.data(), reply.data(), reply.size());
        return {TransportRead::Kind::Bytes, reply.size()};
    }
    bool Wait(bool forWriting, std::chrono::milliseconds wait) override {
        ++*waits;
        if (forWriting || (!tls_ && next_ < replies_.size())) {
            return true;
        }
        std::this_thread::sleep_for(wait);
        return false;
    }
    bool HasBuffered() const override { return false; }
    std::optional<Awaits> Blocked() const override {
        return tls_ ? std::optional(Awaits::Reading) : std::nullopt;
    }
    bool Handshaking() const override { return tls_; }
    bool StartTls(const TlsRequest&) override { return tls_ = true; }
    bool TlsActive() const override { return false; }
    std::string TlsFailure() const override { return {}; }

    std::shared_ptr<int> waits = std::make_shared<int>(0);

private:
    std::vector<std::string> replies_;
    std::size_t next_ = 0;
    bool tls_ = false;
};

struct StalledRow {
    const char* name;
    Security security;
    std::vector<std::string> replies;
};

class StalledHandshakeTest : public ::testing::TestWithParam<StalledRow> {};

TEST_P(StalledHandshakeTest, ABlockingDriveSleepsUntilTheHandshakesBound) {
    const StalledRow& row = GetParam();
    auto transport = std::make_unique<StalledHandshake>(row.replies);
    const std::shared_ptr<int> waits = transport->waits;
    SmtpDriver driver(
        std::move(transport),
        ResolveSubmission(
            "mail.example",
            {.port = std::nullopt, .security = row.security, .login = {}, .caFile = {}}),
        SmtpSettings{"a@b.example", "gw.example"}, {{"x"}}, SecretText(),
        {.handshake = 300ms, .reply = 30s, .send = 30s});
    ASSERT_EQ(driver.Connect(), std::nullopt);
    std::vector<SendEnd> ends;
    const auto start = std::chrono::steady_clock::now();
    for (int turn = 0; turn < 1000 && driver.Conversation().Outcome() == SmtpOutcome::Waiting;
         ++turn) {
        const SmtpActions actions = driver.Drive(DriveMode::Block);
        ends.insert(ends.end(), actions.ends.begin(), actions.ends.end());
    }
    const auto took = std::chrono::steady_clock::now() - start;
    // Each reply before TLS takes a wait and a look; the stall itself a few.
    EXPECT_LE(*waits, 2 * static_cast<int>(row.replies.size()) + 4) << "the drive spun";
    EXPECT_GE(took, 250ms);
    EXPECT_LT(took, 5s);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].kind, SendEndKind::Overdue);
    EXPECT_EQ(ends[0].detail, "the TLS handshake did not complete in time");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StalledHandshakeTest,
    ::testing::Values(
        // The EHLO after STARTTLS waits to go out while the handshake waits to read.
        StalledRow{"StartTls",
                   Security::StartTls,
                   {"220 ready\r\n", "250-gw.example\r\n250 STARTTLS\r\n", "220 go ahead\r\n"}},
        StalledRow{"TlsFromTheFirstByte", Security::Tls, {}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
