// The submission dialog's decisions, for both front ends: the load of "tvsubmit.ini" into the
// controls, what they hold against what was stored, and OK's check before the file is written.
// It owns no control: a window hands it what its controls show and writes back what it returns.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/StoredField.h"
#include "settings/Submission.h"

namespace tarvelo {

// What the dialog's controls show.
struct SubmitTexts {
    int port = 0;        // the spinner; 0 shows texts::kDefaultChoice: no port of its own
    int security = 0;    // the index in kSecurityChoices
    std::string login;   // UTF-8
    std::string caFile;  // UTF-8
};

// The entries of the security list, in order: the first leaves the choice to the port. Their
// texts: texts::kDefaultChoice, kSecurityNone, kSecurityStartTls, kSecurityTls.
inline constexpr std::array<std::optional<Security>, 4> kSecurityChoices{
    std::nullopt, Security::None, Security::StartTls, Security::Tls};

// The port edit of a front end whose toolkit has no spinner that shows a word for 0 (Win32):
// the text it shows for a port, 0 as texts::kDefaultChoice.
std::string PortText(int port);
// The port its text stands for: 0 for texts::kDefaultChoice or nothing. Raises Error naming
// the field for any other text that is not a port (PortFromText).
int PortOfText(std::string_view text);
// The text after its arrows moved the port by delta, within 0 to 65535; a text that is no port
// moves from 0.
std::string PortStepped(std::string_view text, int delta);

class SubmitForm {
public:
    // The load (FormActivate): what the controls are to show. Raises what ReadSubmission
    // raises, and the controls keep what they hold: the window then stays closed, and an OK
    // after it writes nothing (a file it could not read is never turned into defaults).
    SubmitTexts Load();
    // What the login and CA file edits show once the load's texts are in them.
    void Shown(const SubmitTexts& now);

    // OK. Before anything is written, and the dialog then stays open, raises the last load's
    // error when it failed, Error (texts::kPasswordWithoutLogin) for a password without a
    // login, and the errors of a sending's rules: LoginNulError, LoginWithoutTlsError (by the
    // port and security that would be used with the SMTP Server setting smtp) and
    // PasswordContentError for a typed password. Then writes "tvsubmit.ini", and the showing
    // ends even when that fails (FileCreateError). typedPassword: the password edit's text,
    // empty when it holds none. Returns the settings written.
    SubmissionSettings Ok(const SubmitTexts& now, std::string_view smtp,
                          std::string_view typedPassword);
    // Whether the last OK ends the showing.
    bool Closes() const { return closes_; }

private:
    StoredField login_{FieldEncoding::Utf8};
    StoredField caFile_{FieldEncoding::Utf8};
    bool closes_ = false;
    std::optional<std::string> loadFailure_;  // what the last load raised
};

}  // namespace tarvelo
