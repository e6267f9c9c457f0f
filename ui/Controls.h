// What the windows share: their own texts as Qt strings, edits that hold one line, the tab
// order, and placing a dialog on the screen.
#pragma once

#include <QString>
#include <QStyle>
#include <QValidator>
#include <initializer_list>
#include <string_view>

class QAbstractButton;
class QLineEdit;
class QTextEdit;
class QWidget;

namespace tarvelo {

// The program's own texts (captions, messages) stand in the source as UTF-8.
inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Sets the keyboard focus order: each control after the one before it.
void ChainTabOrder(std::initializer_list<QWidget*> controls);

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

// Gives edit a SingleLineValidator of its own, and no limit of length: the default one of 32,767
// characters cuts a longer value loaded from a file, or pasted, without a word.
void MakeSingleLine(QLineEdit* edit);

// Takes the zero characters out of a multi-line box's text, as typed or pasted, without a
// change signal of its own, and returns the text as it then stands. The box would show the
// text after a zero character, while the conversion and the mail end the text there.
QString TakeOutZeroCharacters(QTextEdit* edit);

// Gives button the style's standard icon when it is first shown: looking the icon up in the
// theme and decoding it is a noticeable part of start-up for dialogs that may never be opened.
void SetStandardIconWhenShown(QAbstractButton* button, QStyle::StandardPixmap icon);

// Centres window on the screen it is on, as the designed dialogs open.
void CenterOnScreen(QWidget* window);

}  // namespace tarvelo
