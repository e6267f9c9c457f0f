// What a window's sending shows, for every front end alike: from the drive loop's actions to
// the progress dialog's texts and button, the debug log's entries, the end of the session and
// the box of a reply that is not a number.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SendEnd.h"
#include "mail/SmtpConversation.h"

namespace tarvelo {

// What the window does, in this order: add each log entry, show state, end the session
// (close the connection, stop the timer), show the headline and the button, forget a refused
// password, and last raise the box (an Error with its text). Unset parts leave the window as
// it stands.
struct SendScreen {
    std::vector<std::string> log = {};      // Shift-JIS, as the debug log holds its lines
    std::optional<std::string> state = {};  // UTF-8: State's new text
    bool end = false;
    std::optional<std::string_view> sendLabel = {};  // UTF-8
    std::optional<std::string_view> button = {};     // UTF-8
    bool forgetPassword = false;                     // the server refused the login
    // The server's reply (UTF-8) when it refused the login: the window asks for the password
    // again at once, saying why, and sends anew with the answer.
    std::optional<std::string> askAgain = {};
    std::optional<std::string> box = {};  // UTF-8: "'%s' は整数ではありません"
};

// Why the sending ended, in the windows' words: one Japanese sentence and the detail in
// parentheses; empty for a delivered mail.
std::string EndReason(const SendEnd& end);

// From the press of the send button while the connection is being made: "接続中",
// "Connecting " + the server setting (Shift-JIS) + "...", "ｷｬﾝｾﾙ".
SendScreen ConnectingScreen(std::string_view smtpSetting);

// One turn of the drive loop. "送信中" once connected; "接続できませんでした" when no connection
// could be made; "送信しました" as soon as the server has taken the mail, though
// the reply to QUIT is still awaited, so that nobody who closes the dialog then sends it again;
// "送信エラー" at a failure, with its reason where no reply tells it, texts::kLoginRefused when
// the server refused the login. The button then reads "OK".
SendScreen ScreenAfter(const SmtpActions& actions);

}  // namespace tarvelo
