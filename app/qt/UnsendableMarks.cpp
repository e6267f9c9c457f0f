#include "app/qt/UnsendableMarks.h"

#include <QAbstractTextDocumentLayout>
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
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>
#include <utility>

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

namespace {

// Where the character at position of a block, length UTF-16 units, stands on its row, in the
// document's coordinates. A line break, or a character at the end of a row, has no cell of its
// own on its row: it takes one of width after the row's last.
UnsendableMark CellOf(const QTextBlock& block, const QRectF& bounds, int position, int length,
                      int width) {
    UnsendableMark mark;
    const QTextLayout* rows = block.layout();
    const QTextLine row = rows->lineForTextPosition(position);
    if (!row.isValid()) {
        return mark;
    }
    const qreal left = row.cursorToX(position);
    const int after = position + length;
    mark.rowEnd = after > block.length() - 1 ||
                  rows->lineForTextPosition(after).lineNumber() != row.lineNumber();
    const qreal right = mark.rowEnd ? left + width : row.cursorToX(after);
    mark.cell = QRectF(bounds.left() + left, bounds.top() + row.y(), right - left, row.height())
                    .toAlignedRect();
    return mark;
}

}  // namespace

std::vector<UnsendableMark> UnsendableMarks::InSight() const {
    std::vector<UnsendableMark> marks;
    if (!shown_) {
        return marks;
    }
    // Straight from the layout of the rows in sight: cursors would lay out more of the text.
    QAbstractTextDocumentLayout* layout = box_->document()->documentLayout();
    const QPoint scrolled(box_->horizontalScrollBar()->value(), box_->verticalScrollBar()->value());
    const QRect sight = box_->viewport()->rect().translated(scrolled);
    const int first = std::max(layout->hitTest(sight.topLeft(), Qt::FuzzyHit), 0);
    for (QTextBlock block = box_->document()->findBlock(first);
         block.isValid() && marks.size() < kMaxUnsendableMarks; block = block.next()) {
        // The box lays out a long text in sight first and the rest in steps that grow to
        // hundreds of kilobytes; asking where a row not yet laid out stands would take a step.
        if (block.layout()->lineCount() == 0) {
            break;
        }
        const QRectF bounds = layout->blockBoundingRect(block);
        if (bounds.top() > sight.bottom()) {
            break;
        }
        QString text = block.text();
        if (block.next().isValid()) {
            text += QLatin1Char('\n');
        }
        // The rule counts code points; the document counts UTF-16 units, two for an emoji.
        qsizetype position = 0;
        std::size_t index = 0;
        for (const std::size_t wanted :
             UnsendableCharacters(ToShiftJis(text), kMaxUnsendableMarks - marks.size())) {
            for (; index < wanted && position < text.size(); ++index) {
                position += text[position].isHighSurrogate() ? 2 : 1;
            }
            if (position >= text.size()) {
                break;
            }
            const int length = text[position].isHighSurrogate() ? 2 : 1;
            UnsendableMark mark = CellOf(block, bounds, static_cast<int>(position), length,
                                         fontMetrics().averageCharWidth());
            mark.position = block.position() + static_cast<int>(position);
            mark.character = text.mid(position, length);
            mark.cell.translate(-scrolled);
            marks.push_back(std::move(mark));
        }
    }
    return marks;
}

void UnsendableMarks::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::red, 1));
    const int step = 2;
    for (const UnsendableMark& mark : InSight()) {
        const QRect& cell = mark.cell;
        const int end = cell.left() + cell.width();
        QPainterPath wave;
        const int base = cell.bottom();
        wave.moveTo(cell.left(), base);
        for (int x = cell.left(), up = 1; x < end; x += step, up = -up) {
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
    for (const UnsendableMark& mark : InSight()) {
        QRect cell = mark.cell;
        if (mark.rowEnd) {
            cell.setRight(box_->viewport()->width());
        }
        if (!cell.contains(help->pos())) {
            continue;
        }
        const QString character =
            mark.character == QLatin1String("\n") ? Text(texts::kLineBreak) : mark.character;
        QToolTip::showText(help->globalPos(),
                           Text(texts::Unsendable(character.toUtf8().toStdString())),
                           box_->viewport());
        return true;
    }
    QToolTip::hideText();
    return true;
}

}  // namespace tarvelo
