// The drive loop against a server that stops reading after 354: a poll never waits for the
// socket to take the mail, and the send's bound ends the sending with its reason. Against a
// TLS handshake that stalls: a blocking drive sleeps on what TLS waits for, and the handshake's
// bound ends it with its own reason.
#include "mail/SmtpDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
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
                      SmtpConversation({"a@b.example", "gw.example"}, mail),
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
        SmtpConversation({"a@b.example", "gw.example"}, {{"x"}},
                         {.security = row.security, .login = {}, .password = {}}),
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
