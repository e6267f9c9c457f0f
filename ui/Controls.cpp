#include "ui/Controls.h"

#include <QLineEdit>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>

namespace tarvelo {

namespace {
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
