// Sending without a window: connect, then wait for each reply in turn and answer it, until the
// server has taken the mails or the conversation fails; one mail for each handset number, all
// over one connection.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SendCommand.h"
#include "mail/SmtpDriver.h"
#include "mail/SubmissionTarget.h"
#include "platform/SecretText.h"

namespace tarvelo {

struct MailRequest {
    SubmissionTarget target;  // ResolveSubmission of the server setting and tvsubmit.ini
    SmtpSettings settings;
    std::vector<std::vector<std::string>> mails;  // each as AssembleMailLines gives it
    SecretText password = {};  // used only with a login, only inside TLS; never printed
    SendBounds bounds = {};
};

struct SendResult {
    SendStatus status = SendStatus::Sent;
    std::string failure;  // UTF-8, one line, when status is not Sent
};

// Why the end came, in tarvelo-send's words: "cannot connect to mail.example:25: connection
// refused", the server's reply, or the reason.
std::string EndText(const SendEnd& end);

// The exit status that tells a script what an end means: try again later, give up, or fix
// something first.
SendStatus StatusOf(const SendEnd& end);

// onLog gets each line as the window's debug log holds it (" S:", " R:" or " E:" and Shift-JIS
// bytes) the moment it is sent or read. Blocks, within request.bounds: the connection, the
// wait for a reply to begin and to end, and the wait for the server to take what is sent.
// One result for each mail, in their order; a mail refused by the server does not keep the
// next from going, anything that ends the connection ends the mails not yet taken with it.
std::vector<SendResult> SendMails(const MailRequest& request,
                                  const std::function<void(std::string_view logLine)>& onLog);

}  // namespace tarvelo
