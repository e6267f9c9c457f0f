// Sendings without a window: connect, then wait for each reply in turn and answer it, until the
// server has taken the mails or the conversation fails.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SendCommand.h"
#include "mail/SmtpDriver.h"
#include "settings/Submission.h"

namespace tarvelo {

struct MailRequest {
    std::string server;  // the SMTP server setting: a name or an address, perhaps with ":port"
    SmtpSettings settings;
    std::vector<std::vector<std::string>> mails;  // each as AssembleMailLines gives it
    SubmissionSettings submission = {};
    std::string password = {};  // used only with a login, only inside TLS; never printed
    SendBounds bounds = {};
};

struct SendResult {
    SendStatus status = SendStatus::Sent;  // the worst of the mails'
    std::string failure;                   // UTF-8, one line, when status is not Sent: the first
    std::vector<SendEnd> ends;             // one for each mail, in order
    std::vector<std::string> failures;     // likewise, each failure's line; empty when delivered
};

// The exit status that tells a script what an end means: try again later, give up, or fix
// something first.
SendStatus StatusOf(const SendEnd& end);

// onLog gets each line as the window's debug log holds it (" S:", " R:" or " E:" and Shift-JIS
// bytes) the moment it is sent or read. Blocks, within request.bounds: the connection, the
// wait for a reply to begin and to end, and the wait for the server to take what is sent.
SendResult SendMail(const MailRequest& request,
                    const std::function<void(std::string_view logLine)>& onLog);

}  // namespace tarvelo
