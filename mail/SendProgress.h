// What the progress dialog says as a window's sending goes on, for every front end alike.
#pragma once

#include <optional>
#include <string_view>

#include "mail/SmtpConversation.h"

namespace tarvelo {

// The progress dialog's headline and button (UTF-8).
struct ProgressText {
    std::string_view sendLabel;
    std::string_view button;
};

// What the dialog says once actions are carried out, when it changes: "送信しました" as soon as
// the server has taken the mail, though the reply to QUIT is still awaited, so that nobody who
// closes the dialog then sends it again; "送信エラー" at a failure. Its button then reads "OK".
std::optional<ProgressText> ProgressAfter(const SmtpActions& actions);

}  // namespace tarvelo
