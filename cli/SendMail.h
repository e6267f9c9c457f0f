// Sending without a window: connect, then wait for each reply in turn and answer it, until
// the server has taken the mail or the conversation fails; one mail for each handset number.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SendCommand.h"
#include "mail/SmtpConversation.h"

namespace tarvelo {

struct MailRequest {
    std::string server;  // the SMTP server, a name or a dotted address (port 25)
    SmtpSettings settings;
    std::vector<std::vector<std::string>> mails;  // as AssembleMailLines gives them
};

struct SendResult {
    SendStatus status = SendStatus::Sent;
    std::string failure;  // UTF-8, one line, when status is not Sent
};

// onLog gets each line as the window's debug log holds it (" S:" or " R:" and Shift-JIS bytes)
// the moment it is sent or read. Blocks, within bounds: the connection and every send have the
// socket's time-outs, a reply the conversation's (30 s from its first byte), and the wait for a
// reply to begin the same 30 s. No timer: each reply is taken the moment it arrives.
// One result for each mail, in their order. Each mail has a conversation of its own for now;
// when the connection cannot be made, the later mails are not tried and share the first's
// result.
std::vector<SendResult> SendMails(const MailRequest& request,
                                  const std::function<void(std::string_view logLine)>& onLog);

}  // namespace tarvelo
