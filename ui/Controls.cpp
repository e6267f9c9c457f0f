#include "ui/Controls.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QRect>
#include <QScreen>
#include <QSignalBlocker>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <limits>

namespace tarvelo {

namespace {
// Sets the icon at the button's first Show event, then removes itself.
class IconOnShow : public QObject {
public:
    IconOnShow(QAbstractButton* button, QStyle::StandardPixmap icon)
        : QObject(button), button_(button), icon_(icon) {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == button_ && event->type() == QEvent::Show) {
            button_->removeEventFilter(this);
            button_->setIcon(button_->style()->standardIcon(icon_));
            deleteLater();
        }
        return false;
    }

private:
    QAbstractButton* button_;
    QStyle::StandardPixmap icon_;
};

bool BreaksLine(QChar character) {
    return character == QLatin1Char('\r') || character == QLatin1Char('\n') ||
           character == QChar::Null || character == QChar::LineSeparator ||
           character == QChar::ParagraphSeparator;
}
}  // namespace

QValidator::State SingleLineValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (BreaksLine(input[i])) {
            continue;
        }
        if (i < position) {
            ++keptBeforeCursor;
        }
        kept.append(input[i]);
    }
    if (kept.size() != input.size()) {
        input = kept;
        position = keptBeforeCursor;
    }
    return Acceptable;
}

void MakeSingleLine(QLineEdit* edit) {
    edit->setValidator(new SingleLineValidator(edit));
    edit->setMaxLength(std::numeric_limits<int>::max());
}

QString TakeOutZeroCharacters(QTextEdit* edit) {
    const QString zero(QChar::Null);
    QTextDocument* document = edit->document();
    QString text = document->toPlainText();
    if (!text.contains(zero)) {
        return text;
    }
    const QSignalBlocker quiet(edit);
    for (QTextCursor found = document->find(zero); !found.isNull();
         found = document->find(zero, found)) {
        found.removeSelectedText();
    }
    return document->toPlainText();
}

void ChainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void SetStandardIconWhenShown(QAbstractButton* button, QStyle::StandardPixmap icon) {
    new IconOnShow(button, icon);
}

void CenterOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace tarvelo
