#include "ui/qt/WrappedLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace tarvelo {

WrappedLabel::WrappedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // A reply such as "554 <b>denied</b>" is shown as the server sent it.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

namespace {

// The rows of text for width pixels: each paragraph broken at the last space before the row
// would overflow, measured as sizeHint measures, so that a text that fits stays one row. A
// word longer than a row stays whole rather than broken in the middle.
QString BrokenAtSpaces(const QString& text, qreal width, const QFontMetricsF& metrics) {
    QStringList rows;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString row;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString longer = row.isNull() ? word : row + QLatin1Char(' ') + word;
            if (!row.isNull() && std::ceil(metrics.horizontalAdvance(longer)) > width) {
                rows.append(row);
                row = word;
            } else {
                row = longer;
            }
        }
        rows.append(row);
    }
    return rows.join(QChar::LineSeparator);
}

}  // namespace

int WrappedLabel::LayOut(int width, QPainter* painter) const {
    QString shown = text();
    shown.remove(QLatin1Char('\r'));
    QTextLayout layout(BrokenAtSpaces(shown, width, QFontMetricsF(font())), font());
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
        // Only the line separators end a row; a word wider than the row overflows it.
        row.setLineWidth(width);
        row.setPosition(QPointF(0, height));
        height += row.height();
    }
    layout.endLayout();
    if (painter != nullptr) {
        painter->setPen(palette().color(foregroundRole()));
        layout.draw(painter, contentsRect().topLeft());
    }
    return static_cast<int>(std::ceil(height));
}

int WrappedLabel::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    return LayOut(width - margins.left() - margins.right(), nullptr) + margins.top() +
           margins.bottom();
}

QSize WrappedLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    // Rounded up: a row laid out in a pixel less than its advance would wrap.
    const QFontMetricsF metrics(font());
    int widest = 0;
    for (const QString& row : text().split(QLatin1Char('\n'))) {
        widest = std::max(widest, static_cast<int>(std::ceil(metrics.horizontalAdvance(row))));
    }
    const int width = std::min(widest + margins.left() + margins.right(), maximumWidth());
    return {width, heightForWidth(width)};
}

QSize WrappedLabel::minimumSizeHint() const {
    return sizeHint();
}

void WrappedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    LayOut(contentsRect().width(), &painter);
}

}  // namespace tarvelo
