#include "mail/SendProgress.h"

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
            return ProgressText{"送信エラー", "OK"};
    }
    return std::nullopt;
}

}  // namespace tarvelo
