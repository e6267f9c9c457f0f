// The handset preview: the text on a fixed grid of cells as the handset lays it out, a
// full-width character in two cells and a half-width one in one, as many full-width characters
// a row as fit the width (12 pixels each). Only the rows in sight are converted and painted,
// so a long pasted message costs one pass over its bytes. Read-only: the text can be selected
// with the mouse (Ctrl+A all of it) and copied with Ctrl+C, and scrolled with the wheel and the
// arrow, page, Home and End keys.
#pragma once

#include <QFrame>
#include <string>
#include <vector>

#include "compose/Composition.h"

namespace tarvelo {

class HandsetPreview : public QFrame {
    Q_OBJECT

public:
    explicit HandsetPreview(QWidget* parent = nullptr);

    // Shift-JIS text; shown from its first row, nothing selected.
    void SetText(std::string sjis);
    QString toPlainText() const;

    // Full-width characters a row holds at the current width.
    int Columns() const;
    int RowCount() const { return static_cast<int>(rows_.size()); }
    QString RowText(int row) const;
    int FirstVisibleRow() const { return firstRow_; }
    // Rows that fit the height, the last one possibly cut.
    int VisibleRowCount() const;
    // Scrolls so that row is the first in sight, within the text.
    void ScrollTo(int row);
    QString SelectedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Relayout();
    int RowHeight() const;
    QPoint TextOrigin() const;
    // The byte offset of the cell boundary nearest to point.
    std::size_t OffsetAt(QPoint point) const;

    std::string text_;
    std::vector<PreviewSpan> rows_;
    int firstRow_ = 0;
    std::size_t selectionAnchor_ = 0;
    std::size_t selectionEnd_ = 0;
};

}  // namespace tarvelo
