// What the windows share: their own texts as Qt strings, edits that hold one line, the tab
// order, and placing a dialog on the screen.
#pragma once

#include <QString>
#include <QStyle>
#include <QValidator>
#include <functional>
#include <initializer_list>
#include <string_view>

class QAbstractButton;
class QComboBox;
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

// Keeps the keys pressed with Alt out of box's text. Qt's text boxes take Alt+letter as
// typing, so an accelerator whose button is disabled would type its letter into the box.
void KeepAltKeysOut(QWidget* box);

// Opens box's list below it, at most ten entries high and as wide as the box, long entries
// cut with an ellipsis. Some styles open a pick-only list as a menu over the box, as high and
// as wide as all its entries: with a thousand of them, or a long one, that is the screen.
void DropDownBelow(QComboBox* box);

// Gives button the style's standard icon when it is first shown: looking the icon up in the
// theme and decoding it is a noticeable part of start-up for dialogs that may never be opened.
void SetStandardIconWhenShown(QAbstractButton* button, QStyle::StandardPixmap icon);

// Whether the window system has told the size of window's frame: only once the window has
// been shown for the first time, and never on a platform without frames.
bool FrameKnown(const QWidget* window);

// Runs fit once, as soon as the window system has put its frame around window: designed outer
// sizes and the centring count the frame, which is unknown at a window's first showing. While
// a fit for the same purpose waits, another is not added; once the frame is known, nothing is.
void WhenFramed(QWidget* window, const char* purpose, std::function<void()> fit);

// Centres window on the screen it is on, as the designed dialogs open; at the first showing
// once more when the frame is known.
void CenterOnScreen(QWidget* window);

}  // namespace tarvelo
