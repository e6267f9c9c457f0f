#include "mail/SendProgress.h"

#include "platform/ShiftJis.h"

namespace tarvelo {

ProgressText ProgressConnecting() {
    return {"接続中", "ｷｬﾝｾﾙ"};
}

std::optional<ProgressText> ProgressAfter(const SmtpActions& actions) {
    switch (actions.outcome) {
        case SmtpOutcome::Waiting:
            if (actions.connected) {
                return ProgressText{"送信中", "ｷｬﾝｾﾙ"};
            }
            if (actions.ends.empty() || actions.ends.front().kind != SendEndKind::Delivered) {
                return std::nullopt;
            }
            return ProgressText{"送信しました", "OK"};
        case SmtpOutcome::Success:
            return ProgressText{"送信しました", "OK"};
        case SmtpOutcome::Failure:
            return actions.ends.empty() ? ProgressText{"送信エラー", "OK"}
                                        : ProgressAfterConnect(actions.ends.front());
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
