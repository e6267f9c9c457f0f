#include "ui/ElidedLabel.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace tarvelo {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // A reply such as "554 <b>denied</b>" is shown as the server sent it.
    setTextFormat(Qt::PlainText);
}

QString ElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Only a cut text needs its tooltip; a whole one is already in sight.
        const auto* help = static_cast<QHelpEvent*>(event);
        if (ShownText() != text()) {
            // A tooltip reads markup of its own accord; this one shows the text as it is.
            QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(text()), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QLabel::event(event);
}

}  // namespace tarvelo
