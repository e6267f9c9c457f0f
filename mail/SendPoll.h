// One tick of a window's sending: what the 50 ms timer does, for every front end alike.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "mail/SmtpConversation.h"
#include "mail/Socket.h"

namespace tarvelo {

// Never waits: polls the socket, reads only what has already arrived, hands it to the
// conversation and sends what the conversation answers. Gives the conversation's actions for
// the window to show, in order: those of the read, and, when their sending failed, those of
// the failure. The wire of each has already been sent.
std::vector<SmtpActions> PollConversation(Socket& socket, SmtpConversation& conversation);

// The progress dialog's headline and button (UTF-8).
struct ProgressText {
    std::string_view sendLabel;
    std::string_view button;
};

// What the progress dialog says once actions are carried out, when it changes: "送信しました"
// as soon as the server has taken the mail (state Quit), so that nobody who closes the dialog
// then sends it again; "送信エラー" at a failure. Either way its button reads "OK".
std::optional<ProgressText> ProgressAfter(const SmtpActions& actions, SmtpState state);

}  // namespace tarvelo
