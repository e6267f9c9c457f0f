#include "cli/SendMail.h"

#include <algorithm>

#include "base/Error.h"
#include "mail/tls/TlsTransport.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

std::string EndText(const SendEnd& end) {
    return end.kind == SendEndKind::NoConnection ? "cannot connect to " + end.detail : end.detail;
}

SendStatus StatusOf(const SendEnd& end) {
    switch (end.kind) {
        case SendEndKind::Delivered:
            return SendStatus::Sent;
        case SendEndKind::NoConnection:
            return end.connect == ConnectFailure::NameNotFound ? SendStatus::NoHost
                                                               : SendStatus::TempFail;
        case SendEndKind::RefusedPermanent:
        case SendEndKind::Tls:
        case SendEndKind::NoLoginMethod:
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
            break;
    }
    return SendStatus::TempFail;
}

std::vector<SendResult> SendMails(const MailRequest& request,
                                  const std::function<void(std::string_view logLine)>& onLog) {
    SmtpDriver driver(MakeTransport(), request.target, request.settings, request.mails,
                      request.password.Copy(), request.bounds);
    std::vector<SendEnd> ends;
    if (const std::optional<SendEnd> end = driver.Connect()) {
        ends.assign(request.mails.size(), *end);
    }
    std::string notANumber;
    const bool connected = ends.empty();
    while (connected && driver.Conversation().Outcome() == SmtpOutcome::Waiting) {
        SmtpActions actions = driver.Drive(DriveMode::Block);
        for (const std::string& entry : actions.log) {
            onLog(entry);
        }
        if (actions.notANumber) {
            // The window's box, word for word.
            notANumber = NotIntegerError(ShiftJisToUtf8(*actions.notANumber)).what();
        }
        // An end that no reply in the log tells says why there.
        if (actions.outcome == SmtpOutcome::Failure && !actions.ends.empty() &&
            !actions.ends.back().byReply) {
            onLog(" E:" + Utf8ToShiftJis(EndText(actions.ends.back())));
        }
        for (SendEnd& end : actions.ends) {
            ends.push_back(std::move(end));
        }
    }
    std::vector<SendResult> results;
    for (const SendEnd& end : ends) {
        SendResult& result = results.emplace_back(SendResult{StatusOf(end), {}});
        if (end.kind == SendEndKind::NotANumber) {
            result.failure = notANumber;
        } else if (end.kind != SendEndKind::Delivered) {
            // A hang-up or a time-out is clearer with the step it came at.
            result.failure = BrokeOff(end.kind) && !end.lastReply.empty()
                                 ? end.detail + "; the last reply: " + end.lastReply
                                 : EndText(end);
        }
    }
    return results;
}

}  // namespace tarvelo
