// What the windows share: edits that hold one line, and placing a dialog on the screen.
#pragma once

#include <QValidator>

class QLineEdit;
class QString;
class QWidget;

namespace tarvelo {

// Takes CR, LF, the zero character and the Unicode line and paragraph separators out of
// whatever is typed, pasted or set. The settings become parts of SMTP command lines ("HELO ",
// "MAIL FROM:<", "RCPT TO:<tv@") and of mail headers: a line break there would end the command
// early and make the rest of the text a command or header of its own, and a zero byte would
// cut the line short when the settings file is read again. Removing rather than refusing keeps
// the rest of a pasted line that came with a line break at its end.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

// Gives edit a SingleLineValidator of its own.
void MakeSingleLine(QLineEdit* edit);

// Centres window on the screen it is on, as the designed dialogs open.
void CenterOnScreen(QWidget* window);

}  // namespace tarvelo
