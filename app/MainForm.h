// The main window's decisions, for every front end alike: the composition that runs on every
// edit, the debug log's add, save and clear, and what the send button does, from the press to
// the end of the sending. It owns no widget: a window reads its controls into plain values,
// calls it, and writes back what it answers.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SendStart.h"
#include "mail/SendView.h"
#include "mail/SmtpDriver.h"
#include "mail/Transport.h"
#include "settings/PasswordSource.h"

namespace tarvelo {

// The controls that the composition reads, Shift-JIS; line breaks in the message are CR LF.
struct MainFields {
    std::string message = {};
    std::string phsNo = {};
    std::string resNo = {};  // the settings dialog's ResNo as it stands now
    bool testMode = false;
};

// What the composition writes back.
struct MainView {
    std::string preview = {};                 // TvImg, Shift-JIS
    std::vector<std::string> mailImage = {};  // TvMes's lines, Shift-JIS
    std::string_view msgErr = {};             // UTF-8, empty when there is no error
    std::string_view phsErr = {};             // UTF-8
    bool sendEnabled = false;
    // The characters of the message that cannot be sent are marked where they stand: never
    // in test mode, where nothing is converted. Which they are, the box finds in the rows in
    // sight alone, so that a long paste costs a keystroke nothing.
    bool markUnsendable = false;
};

// The composition: runs on every change of the message or the number, on every click of the
// test check box, and once when the window is first shown.
MainView ComposeMain(const MainFields& fields);

// The error boxes as the window is built, before the first composition: an empty message and
// an empty number.
MainView StartView();

using TransportMaker = std::unique_ptr<Transport> (*)();

class MainForm {
public:
    // passwords: the program's source; makeTransport: the connection, TLS where the build has it.
    MainForm(PasswordSource& passwords, TransportMaker makeTransport)
        : passwords_(passwords), makeTransport_(makeTransport) {}

    // The debug log: text is split at its line breaks into lines kept byte for byte.
    void AddLog(std::string_view sjisText);
    const std::vector<std::string>& LogLines() const { return logLines_; }
    // Appends the log to TVEMAIL.LOG and clears it; raises the file's Error and keeps the lines
    // when it cannot be written, so that the user can save them again.
    void SaveLog();
    void ClearLog() { logLines_.clear(); }

    // The send button. Raises a refusal (PlaceholderError, an unsendable mail image) before
    // anything is asked or shown. None when the user cancelled the question for the password:
    // nothing is sent or shown. Otherwise the progress dialog's first texts: the window
    // disables the button, shows them, starts its 50 ms timer while Sending(), and shows the
    // dialog modally; when the dialog has closed, EndSending() and the button comes back.
    // The screen's log entries are in LogLines() already.
    std::optional<SendScreen> PressSend(SendFields fields, const PasswordPrompt& prompt,
                                        SendBounds bounds);
    // After a screen that says askAgain: the question for the password comes again at once,
    // with the server's reply, and its answer goes out over a new connection; the progress
    // dialog stays up. None when the user cancels the question, or no sending was begun.
    std::optional<SendScreen> AskAgain(std::string_view refusedReply, const PasswordPrompt& prompt,
                                       SendBounds bounds);
    // One tick of the timer: never waits. The screen's log entries are in LogLines() already;
    // when it says end, the session is closed.
    SendScreen Poll();
    // Every way of closing the dialog ends the session; safe when none is open.
    void EndSending() { driver_.reset(); }
    bool Sending() const { return driver_ != nullptr; }

    // The mail of the last press that was not refused, without line ends.
    const std::vector<std::string>& MailLines() const { return mailLines_; }

private:
    SendScreen Took(SendScreen screen);

    PasswordSource& passwords_;
    TransportMaker makeTransport_;
    std::vector<std::string> logLines_;
    std::vector<std::string> mailLines_;
    std::unique_ptr<SmtpDriver> driver_;
    std::optional<SendStart> start_;  // the last press that was not refused
    std::string smtp_, login_;        // whose password a refusal forgets
};

}  // namespace tarvelo
