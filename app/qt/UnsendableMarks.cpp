#include "app/qt/UnsendableMarks.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QScrollBar>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>

#include "compose/HandsetText.h"
#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/QtShiftJis.h"

namespace tarvelo {

UnsendableMarks::UnsendableMarks(QTextEdit* box) : QWidget(box->viewport()), box_(box) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    box->viewport()->installEventFilter(this);
    // Scrolling the viewport carries its children with it: the marks go back over it.
    for (QScrollBar* bar : {box->verticalScrollBar(), box->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &UnsendableMarks::FollowViewport);
    }
    FollowViewport();
    hide();
}

void UnsendableMarks::FollowViewport() {
    setGeometry(box_->viewport()->rect());
    update();
}

void UnsendableMarks::Show(bool shown) {
    shown_ = shown;
    setVisible(shown);
    if (shown) {
        raise();
        update();
    }
}

std::vector<QTextCursor> UnsendableMarks::InSight() const {
    std::vector<QTextCursor> marks;
    if (!shown_) {
        return marks;
    }
    const QRect sight = box_->viewport()->rect();
    const int first = box_->cursorForPosition(sight.topLeft()).block().position();
    const QTextCursor last = box_->cursorForPosition(sight.bottomRight());
    QTextCursor rows(box_->document());
    rows.setPosition(first);
    rows.setPosition(last.block().position() + last.block().length() - 1, QTextCursor::KeepAnchor);
    QString shownText = rows.selectedText();
    shownText.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    // The rule counts code points; the document counts UTF-16 units, two for an emoji.
    qsizetype position = 0;
    std::size_t index = 0;
    for (const std::size_t wanted :
         UnsendableCharacters(ToShiftJis(shownText), kMaxUnsendableMarks)) {
        for (; index < wanted && position < shownText.size(); ++index) {
            position += shownText[position].isHighSurrogate() ? 2 : 1;
        }
        if (position >= shownText.size()) {
            break;
        }
        QTextCursor mark(box_->document());
        mark.setPosition(first + static_cast<int>(position));
        mark.setPosition(
            first + static_cast<int>(position + (shownText[position].isHighSurrogate() ? 2 : 1)),
            QTextCursor::KeepAnchor);
        marks.push_back(mark);
    }
    return marks;
}

void UnsendableMarks::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::red, 1));
    const int step = 2;
    for (const QTextCursor& mark : InSight()) {
        QTextCursor start(mark);
        start.setPosition(mark.selectionStart());
        const QRect left = box_->cursorRect(start);
        const QRect right = box_->cursorRect(mark);
        // A line break, or a character at the end of a row, has no cell of its own on its row.
        const int end = right.top() == left.top() ? right.left()
                                                  : left.left() + fontMetrics().averageCharWidth();
        QPainterPath wave;
        const int base = left.bottom();
        wave.moveTo(left.left(), base);
        for (int x = left.left(), up = 1; x < end; x += step, up = -up) {
            wave.lineTo(std::min(x + step, end), base - (up > 0 ? step : 0));
        }
        painter.drawPath(wave);
    }
}

bool UnsendableMarks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        FollowViewport();
    }
    if (event->type() != QEvent::ToolTip) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int at = box_->cursorForPosition(help->pos()).position();
    for (const QTextCursor& mark : InSight()) {
        if (at < mark.selectionStart() || at > mark.selectionEnd()) {
            continue;
        }
        // The cursor lands before or after the character under the mouse, whichever is nearer:
        // only the character's own cell counts.
        QTextCursor start(mark);
        start.setPosition(mark.selectionStart());
        const QRect left = box_->cursorRect(start);
        const QRect right = box_->cursorRect(mark);
        QRect cell(left.topLeft(), QPoint(right.left(), left.bottom()));
        if (right.top() != left.top()) {
            cell.setRight(box_->viewport()->width());  // a line break, or the end of a row
        }
        if (!cell.contains(help->pos())) {
            continue;
        }
        QString character = mark.selectedText();
        if (character == QChar::ParagraphSeparator) {
            character = Text(texts::kLineBreak);
        }
        QToolTip::showText(help->globalPos(),
                           Text(texts::Unsendable(character.toUtf8().toStdString())),
                           box_->viewport());
        return true;
    }
    QToolTip::hideText();
    return true;
}

}  // namespace tarvelo
