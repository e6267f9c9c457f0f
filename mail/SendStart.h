// From a window's send button to the drive loop, for every front end alike: the refusals that
// come before anything is asked or shown, where the mail goes, the assembled mail, and the
// connection with what the progress dialog shows first.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SendView.h"
#include "mail/SmtpDriver.h"
#include "mail/SubmissionTarget.h"
#include "mail/Transport.h"
#include "settings/Submission.h"

namespace tarvelo {

// The settings and the mail image as they stand at the press of the send button, Shift-JIS.
struct SendFields {
    std::string userName = {};
    std::string smtp = {};
    std::string firstDomain = {};             // empty when the list is empty
    std::vector<std::string> mailImage = {};  // the lines of TvMes, edited or not
    SubmissionSettings submission = {};
};

// The fields with the submission settings as "tvsubmit.ini" holds them now (ReadSubmission,
// which raises its errors).
SendFields SendFieldsNow(std::string userName, std::string smtp, std::string firstDomain,
                         std::vector<std::string> mailImage);

// The sending begun: its driver, connecting, and what the dialog shows first.
struct SendBegun {
    std::unique_ptr<SmtpDriver> driver = {};
    SendScreen screen = {};
};

class SendStart {
public:
    // Raises PlaceholderError while the gateway is a placeholder, Error with the message's
    // "不正な文字がふくまれています" for a mail image that cannot go out as it stands,
    // ServerPortError for a server setting whose port is not one, and LoginWithoutTlsError for
    // a login over plain text: before any password is asked for and before the progress dialog
    // shows. dateText: the mail's "Date: " value.
    SendStart(SendFields fields, std::string_view dateText);

    const SubmissionTarget& Target() const { return target_; }
    // A login wants a password; without one the classic conversation needs none.
    bool NeedsPassword() const { return !target_.login.empty(); }
    const std::vector<std::string>& MailLines() const { return mailLines_; }

    // Begins connecting through transport, without waiting (the drive loop goes on with it
    // within bounds.connect), and hands over the sending. Raises CaFileError for a CA file that
    // cannot be used, before anything is sent.
    SendBegun Begin(std::unique_ptr<Transport> transport, SecretText password,
                    SendBounds bounds) const;

private:
    SendFields fields_;
    std::vector<std::string> mailLines_;
    SubmissionTarget target_;
};

}  // namespace tarvelo
