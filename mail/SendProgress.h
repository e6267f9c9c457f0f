// What the progress dialog says as a window's sending goes on, for every front end alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "mail/SendEnd.h"
#include "mail/SmtpConversation.h"

namespace tarvelo {

// The progress dialog's headline and button (UTF-8).
struct ProgressText {
    std::string_view sendLabel;
    std::string_view button;
};

// What the dialog says from the press of the send button while the connection is being made:
// "接続中", with its button "ｷｬﾝｾﾙ".
ProgressText ProgressConnecting();

// What the dialog says once actions are carried out, when it changes: "送信中" once connected;
// "送信しました" as soon as
// the server has taken the mail, though the reply to QUIT is still awaited, so that nobody who
// closes the dialog then sends it again; "送信エラー" at a failure, "接続できませんでした" when no
// connection could be made. Its button then reads "OK".
std::optional<ProgressText> ProgressAfter(const SmtpActions& actions);

// What the dialog says when the connection could not be made ("接続できませんでした") or TLS
// from the first byte failed ("送信エラー"); its button then reads "OK".
ProgressText ProgressAfterConnect(const SendEnd& end);

// The debug log's entry for an end that no reply of the server tells: " E:" and the reason, in
// Shift-JIS as the log holds it.
std::string EndLogEntry(const SendEnd& end);

}  // namespace tarvelo
