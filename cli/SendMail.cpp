#include "cli/SendMail.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/Error.h"
#include "mail/SmtpReceive.h"
#include "mail/Socket.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

namespace {

constexpr const char* kSmtpPort = "25";
constexpr int kReadSize = 1024;

using std::chrono::milliseconds;

// One wait on the socket and what it gave. The wait lasts until the conversation's deadline
// while a reply is under way; before a reply has begun the conversation sets none (the window's
// user can cancel), and nobody can here, so the same bound applies and its end is a failed
// read. why: what to tell the user if this read ends the sending.
SmtpRead WaitAndRead(Socket& socket, const SmtpConversation& conversation,
                     std::array<char, kReadSize>& buffer, std::string& why) {
    const SmtpClock::time_point now = SmtpClock::now();
    const std::optional<SmtpClock::time_point> deadline = conversation.Deadline();
    const SmtpClock::time_point until = deadline.value_or(now + SmtpConversation::replyTimeout);
    const milliseconds wait =
        std::max(milliseconds(0), std::chrono::ceil<milliseconds>(until - now));
    const int readable = socket.Select(wait);
    if (readable < 0) {
        why = "the connection failed";
        return {SmtpRead::Kind::Failed, {}};
    }
    if (readable == 0) {
        if (deadline) {
            why = "the server's reply did not complete in time";
            return {SmtpRead::Kind::Nothing, {}};
        }
        why = "the server did not answer in time";
        return {SmtpRead::Kind::Failed, {}};
    }
    const SmtpRead read = ReceiveReply(socket, buffer);
    switch (read.kind) {
        case SmtpRead::Kind::Bytes:
        case SmtpRead::Kind::Nothing:
            // Bytes end the sending without a reply to judge only when they come past the
            // deadline.
            why = "the server's reply did not complete in time";
            break;
        case SmtpRead::Kind::Closed:
            why = "the server closed the connection";
            break;
        case SmtpRead::Kind::Failed:
            why = "reading from the server failed";
            break;
    }
    return read;
}

}  // namespace

SendResult SendMail(const MailRequest& request,
                    const std::function<void(std::string_view logLine)>& onLog) {
    Socket socket(SOCK_STREAM);
    socket.Connect(request.server.c_str(), kSmtpPort);
    if (socket.status != 0) {
        return {SendStatus::TempFail, "cannot connect to " + ShiftJisToUtf8(request.server)};
    }
    SmtpConversation conversation(request.settings, request.mailLines);
    std::array<char, kReadSize> buffer;
    std::string lastReply;
    std::string why;
    bool rejected = false;
    std::optional<std::string> notANumber;
    std::optional<SmtpRead> failedSend;
    while (conversation.Outcome() == SmtpOutcome::Waiting) {
        const SmtpRead read =
            failedSend ? *failedSend : WaitAndRead(socket, conversation, buffer, why);
        failedSend.reset();
        const SmtpActions actions = conversation.Take(read, SmtpClock::now());
        // A reply in the log of the step that fails is the reply the server refused with.
        rejected = false;
        for (const std::string& entry : actions.log) {
            onLog(entry);
            if (entry.starts_with(" R:")) {
                lastReply = entry.substr(3);
                rejected = true;
            }
        }
        notANumber = actions.notANumber;
        if (!actions.wire.empty() &&
            socket.SendAll(actions.wire.data(), static_cast<int>(actions.wire.size())) < 0) {
            why = "sending to the server failed or did not finish in time";
            failedSend = SmtpRead{SmtpRead::Kind::Failed, {}};
        }
    }
    if (conversation.Outcome() == SmtpOutcome::Success) {
        return {};
    }
    if (notANumber) {
        return {SendStatus::Protocol, NotIntegerError(ShiftJisToUtf8(*notANumber)).what()};
    }
    if (rejected) {
        // A 4xx says the same mail may be taken later; anything else will not be.
        return {lastReply.starts_with('4') ? SendStatus::TempFail : SendStatus::Unavailable,
                ShiftJisToUtf8(lastReply)};
    }
    return {SendStatus::TempFail,
            lastReply.empty() ? why : why + "; the last reply: " + ShiftJisToUtf8(lastReply)};
}

}  // namespace tarvelo
