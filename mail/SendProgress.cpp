#include "mail/SendProgress.h"

#include "platform/ShiftJis.h"
#include "ui/Texts.h"

namespace tarvelo {

std::optional<ProgressText> ProgressAfter(const SmtpActions& actions) {
    switch (actions.outcome) {
        case SmtpOutcome::Waiting:
            if (actions.ends.empty() || actions.ends.front().kind != SendEndKind::Delivered) {
                return std::nullopt;
            }
            return ProgressText{"送信しました", "OK"};
        case SmtpOutcome::Success:
            return ProgressText{"送信しました", "OK"};
        case SmtpOutcome::Failure:
            if (RefusedLogin(actions)) {
                return ProgressText{texts::kLoginRefused, "OK"};
            }
            return ProgressText{"送信エラー", "OK"};
    }
    return std::nullopt;
}

std::optional<std::string> RefusedLogin(const SmtpActions& actions) {
    for (const SendEnd& end : actions.ends) {
        if (end.kind == SendEndKind::Authentication) {
            return end.detail;
        }
    }
    return std::nullopt;
}

ProgressText ProgressAfterConnect(const SendEnd& end) {
    return {end.kind == SendEndKind::NoConnection ? "接続できませんでした" : "送信エラー", "OK"};
}

std::string EndLogEntry(const SendEnd& end) {
    return " E:" + Utf8ToShiftJis(end.detail);
}

}  // namespace tarvelo
