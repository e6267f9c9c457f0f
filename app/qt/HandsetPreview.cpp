#include "app/qt/HandsetPreview.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <string_view>
#include <utility>

#include "ui/qt/QtShiftJis.h"

namespace tarvelo {

namespace {
// The text keeps this margin inside the frame.
constexpr int kMargin = 2;
constexpr int kCellWidth = kHalfWidthPixels;
// Rows a notch of the wheel scrolls, as Qt's text boxes do by default.
constexpr int kRowsPerNotch = 3;

// The cells that the bytes [begin, end) of a row take.
int CellsOf(std::string_view text, std::size_t begin, std::size_t end) {
    int cells = 0;
    for (std::size_t i = begin; i < end; i += PreviewCharLength(text, i)) {
        cells += static_cast<int>(PreviewCharLength(text, i));
    }
    return cells;
}
}  // namespace

HandsetPreview::HandsetPreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::IBeamCursor);
    rows_ = PreviewSpans(text_, Columns());
}

void HandsetPreview::SetText(std::string sjis) {
    text_ = std::move(sjis);
    firstRow_ = 0;
    selectionAnchor_ = selectionEnd_ = 0;
    Relayout();
}

QString HandsetPreview::toPlainText() const {
    return FromShiftJis(text_);
}

int HandsetPreview::Columns() const {
    return std::max(1, (contentsRect().width() - 2 * kMargin) / kFullWidthPixels);
}

QString HandsetPreview::RowText(int row) const {
    const PreviewSpan& bytes = rows_.at(static_cast<std::size_t>(row));
    return FromShiftJis(std::string_view(text_).substr(bytes.begin, bytes.end - bytes.begin));
}

int HandsetPreview::RowHeight() const {
    return std::max(1, fontMetrics().height());
}

int HandsetPreview::VisibleRowCount() const {
    return (contentsRect().height() - 2 * kMargin + RowHeight() - 1) / RowHeight();
}

void HandsetPreview::ScrollTo(int row) {
    const int last =
        std::max(0, RowCount() - (contentsRect().height() - 2 * kMargin) / RowHeight());
    const int first = std::clamp(row, 0, last);
    if (first != firstRow_) {
        firstRow_ = first;
        update();
    }
}

QString HandsetPreview::SelectedText() const {
    const auto [from, to] = std::minmax(selectionAnchor_, selectionEnd_);
    return FromShiftJis(std::string_view(text_).substr(from, to - from));
}

void HandsetPreview::Relayout() {
    rows_ = PreviewSpans(text_, Columns());
    firstRow_ = std::min(firstRow_, RowCount() - 1);
    update();
}

QPoint HandsetPreview::TextOrigin() const {
    return contentsRect().topLeft() + QPoint(kMargin, kMargin);
}

void HandsetPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), palette().base());
    drawFrame(&painter);
    painter.setClipRect(contentsRect());
    painter.setPen(palette().color(QPalette::Text));
    const auto [from, to] = std::minmax(selectionAnchor_, selectionEnd_);
    const QPoint origin = TextOrigin();
    const int ascent = fontMetrics().ascent();
    const int last = std::min(RowCount(), firstRow_ + VisibleRowCount());
    for (int row = firstRow_; row < last; ++row) {
        const PreviewSpan& bytes = rows_[static_cast<std::size_t>(row)];
        const int top = origin.y() + (row - firstRow_) * RowHeight();
        const std::size_t selectedFrom = std::clamp(from, bytes.begin, bytes.end);
        const std::size_t selectedTo = std::clamp(to, bytes.begin, bytes.end);
        if (selectedFrom < selectedTo) {
            const int left = CellsOf(text_, bytes.begin, selectedFrom) * kCellWidth;
            const int width = CellsOf(text_, selectedFrom, selectedTo) * kCellWidth;
            painter.fillRect(origin.x() + left, top, width, RowHeight(),
                             palette().brush(QPalette::Highlight));
        }
        painter.drawText(origin.x(), top + ascent, RowText(row));
    }
}

void HandsetPreview::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Relayout();
}

void HandsetPreview::wheelEvent(QWheelEvent* event) {
    ScrollTo(firstRow_ - event->angleDelta().y() / 120 * kRowsPerNotch);
    event->accept();
}

void HandsetPreview::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (selectionAnchor_ != selectionEnd_) {
            QApplication::clipboard()->setText(SelectedText());
        }
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectionAnchor_ = 0;
        selectionEnd_ = text_.size();
        update();
        return;
    }
    const int page = std::max(1, VisibleRowCount() - 1);
    switch (event->key()) {
        case Qt::Key_Up:
            ScrollTo(firstRow_ - 1);
            break;
        case Qt::Key_Down:
            ScrollTo(firstRow_ + 1);
            break;
        case Qt::Key_PageUp:
            ScrollTo(firstRow_ - page);
            break;
        case Qt::Key_PageDown:
            ScrollTo(firstRow_ + page);
            break;
        case Qt::Key_Home:
            ScrollTo(0);
            break;
        case Qt::Key_End:
            ScrollTo(RowCount());
            break;
        default:
            QFrame::keyPressEvent(event);
    }
}

std::size_t HandsetPreview::OffsetAt(QPoint point) const {
    const QPoint inText = point - TextOrigin();
    const int row = std::clamp(firstRow_ + inText.y() / RowHeight(), 0, RowCount() - 1);
    const PreviewSpan& bytes = rows_[static_cast<std::size_t>(row)];
    // Half a character's width decides which side of it the point is on.
    int cells = 0;
    for (std::size_t i = bytes.begin; i < bytes.end;) {
        const std::size_t width = PreviewCharLength(text_, i);
        if (inText.x() < (2 * cells + static_cast<int>(width)) * kCellWidth / 2) {
            return i;
        }
        cells += static_cast<int>(width);
        i += width;
    }
    return bytes.end;
}

void HandsetPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selectionAnchor_ = selectionEnd_ = OffsetAt(event->position().toPoint());
        update();
    }
    QFrame::mousePressEvent(event);
}

void HandsetPreview::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        selectionEnd_ = OffsetAt(event->position().toPoint());
        update();
    }
}

}  // namespace tarvelo
