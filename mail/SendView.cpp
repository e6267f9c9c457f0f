#include "mail/SendView.h"

#include "base/Error.h"
#include "platform/ShiftJis.h"
#include "ui/Texts.h"

namespace tarvelo {

namespace {

std::string_view Sentence(SendEndKind kind) {
    switch (kind) {
        case SendEndKind::NoConnection:
            return texts::kReasonNoConnection;
        case SendEndKind::Tls:
            return texts::kReasonTls;
        case SendEndKind::Authentication:
        case SendEndKind::NoLoginMethod:
            return texts::kReasonAuthentication;
        case SendEndKind::Closed:
            return texts::kReasonClosed;
        case SendEndKind::ReadFailed:
            return texts::kReasonReadFailed;
        case SendEndKind::SendFailed:
            return texts::kReasonSendFailed;
        case SendEndKind::Overdue:
            return texts::kReasonOverdue;
        case SendEndKind::RefusedTemporary:
        case SendEndKind::RefusedPermanent:
        case SendEndKind::NotANumber:
            return texts::kReasonRefused;
        case SendEndKind::Delivered:
            break;
    }
    return {};
}

// The reason where no reply in the log tells it: in State and, after " E:", in the log.
void ShowReason(const SendEnd& end, SendScreen& screen) {
    const std::string reason = EndReason(end);
    screen.log.push_back(" E:" + Utf8ToShiftJis(reason));
    screen.state = reason;
}

}  // namespace

std::string EndReason(const SendEnd& end) {
    if (end.kind == SendEndKind::Delivered) {
        return {};
    }
    return texts::Reason(Sentence(end.kind), end.detail);
}

SendScreen ConnectingScreen(std::string_view smtpSetting) {
    return {.state = texts::Connecting(ShiftJisToUtf8(smtpSetting)),
            .sendLabel = texts::kConnectingLabel,
            .button = texts::kCancel};
}

SendScreen ScreenAfter(const SmtpActions& actions) {
    SendScreen screen{.log = actions.log};
    if (actions.state) {
        screen.state = ShiftJisToUtf8(*actions.state);
    }
    switch (actions.outcome) {
        case SmtpOutcome::Waiting:
            if (actions.connected) {
                screen.sendLabel = texts::kSending;
                screen.button = texts::kCancel;
            }
            if (!actions.ends.empty() && actions.ends.front().kind == SendEndKind::Delivered) {
                screen.sendLabel = texts::kSent;
                screen.button = texts::kOk;
            }
            break;
        case SmtpOutcome::Success:
            screen.end = true;
            screen.sendLabel = texts::kSent;
            screen.button = texts::kOk;
            break;
        case SmtpOutcome::Failure: {
            screen.end = true;
            screen.sendLabel = texts::kSendError;
            screen.button = texts::kOk;
            if (actions.ends.empty()) {
                break;
            }
            const SendEnd& end = actions.ends.back();
            if (end.kind == SendEndKind::NoConnection) {
                screen.sendLabel = texts::kNoConnection;
            }
            if (end.kind == SendEndKind::NotANumber) {
                // The unreadable reply stands in State, though the log leaves it out.
                screen.state = "R:" + end.detail;
            } else if (!end.byReply) {
                ShowReason(end, screen);
            }
            for (const SendEnd& each : actions.ends) {
                if (each.kind == SendEndKind::Authentication) {
                    screen.forgetPassword = true;
                    screen.askAgain = each.detail;
                    screen.sendLabel = texts::kLoginRefused;
                }
            }
            break;
        }
    }
    if (actions.notANumber) {
        screen.box = NotIntegerError(ShiftJisToUtf8(*actions.notANumber)).what();
    }
    return screen;
}

}  // namespace tarvelo
