#include "cli/SendMail.h"

#include <algorithm>

#include "base/Error.h"
#include "mail/TlsTransport.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

SendStatus StatusOf(const SendEnd& end) {
    switch (end.kind) {
        case SendEndKind::Delivered:
            return SendStatus::Sent;
        case SendEndKind::NoConnection:
            return end.connect == ConnectFailure::NameNotFound ? SendStatus::NoHost
                                                               : SendStatus::TempFail;
        case SendEndKind::RefusedPermanent:
        case SendEndKind::Tls:
            return SendStatus::Unavailable;
        case SendEndKind::NotANumber:
            return SendStatus::Protocol;
        case SendEndKind::Authentication:
            return SendStatus::NoPermission;
        case SendEndKind::RefusedTemporary:
        case SendEndKind::Closed:
        case SendEndKind::ReadFailed:
        case SendEndKind::SendFailed:
        case SendEndKind::Overdue:
        case SendEndKind::Cancelled:
            break;
    }
    return SendStatus::TempFail;
}

namespace {

// Which of two statuses says more: a permanent failure over a passing one over success.
int Weight(SendStatus status) {
    switch (status) {
        case SendStatus::Sent:
            return 0;
        case SendStatus::TempFail:
            return 1;
        default:
            return 2;
    }
}

}  // namespace

SendResult SendMail(const MailRequest& request,
                    const std::function<void(std::string_view logLine)>& onLog) {
    const SubmissionTarget target = ResolveSubmission(request.server, request.submission);
    SmtpDriver driver(
        MakeTransport(), target,
        SmtpConversation(
            request.settings, request.mails,
            {.security = target.security, .login = target.login, .password = request.password},
            request.bounds.reply),
        request.bounds);
    SendResult result;
    if (const std::optional<SendEnd> end = driver.Connect()) {
        result.ends.assign(request.mails.size(), *end);
    }
    std::string lastReply;
    const bool connected = result.ends.empty();
    while (connected && driver.Conversation().Outcome() == SmtpOutcome::Waiting) {
        SmtpActions actions = driver.Drive(DriveMode::Block);
        for (const std::string& entry : actions.log) {
            onLog(entry);
            if (entry.starts_with(" R:")) {
                lastReply = ShiftJisToUtf8(std::string_view(entry).substr(3));
            }
        }
        if (actions.notANumber) {
            // The window's box, word for word.
            result.failure = NotIntegerError(ShiftJisToUtf8(*actions.notANumber)).what();
        }
        for (SendEnd& end : actions.ends) {
            result.ends.push_back(std::move(end));
        }
    }
    for (const SendEnd& end : result.ends) {
        const SendStatus status = StatusOf(end);
        if (Weight(status) > Weight(result.status)) {
            result.status = status;
        }
        if (status != SendStatus::Sent && result.failure.empty()) {
            // A hang-up or a time-out is clearer with the step it came at.
            const bool lost =
                end.kind == SendEndKind::Closed || end.kind == SendEndKind::ReadFailed ||
                end.kind == SendEndKind::SendFailed || end.kind == SendEndKind::Overdue;
            result.failure = lost && !lastReply.empty()
                                 ? end.detail + "; the last reply: " + lastReply
                                 : end.detail;
        }
    }
    return result;
}

}  // namespace tarvelo
