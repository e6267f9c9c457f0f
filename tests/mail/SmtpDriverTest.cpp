// The drive loop against a server that stops reading after 354: a poll never waits for the
// socket to take the mail, and the send's bound ends the sending with its reason.
#include "mail/SmtpDriver.h"

#include <gtest/gtest.h>

#include <chrono>
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

}  // namespace
}  // namespace tarvelo
