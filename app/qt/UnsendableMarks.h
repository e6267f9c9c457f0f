// The characters of the message that cannot be sent, underlined where they stand in the
// message box with a wavy red line, each naming itself in a tooltip.
//
// Only the rows in sight are looked at, when they are painted: a pasted page costs a keystroke
// nothing here, and no mark makes the box lay out the whole of its text at once.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <vector>

class QTextEdit;

namespace tarvelo {

// Most marks drawn at once: far more than the rows in sight can hold.
inline constexpr std::size_t kMaxUnsendableMarks = 200;

// One marked character in sight.
struct UnsendableMark {
    int position = 0;     // in the box's document
    QString character;    // as typed; "\n" for a line break
    QRect cell;           // where it stands, in the viewport's coordinates
    bool rowEnd = false;  // a line break, or the last character of a row: no cell of its own
};

// Lies over the box's viewport, drawing the marks and letting the mouse through.
class UnsendableMarks : public QWidget {
public:
    explicit UnsendableMarks(QTextEdit* box);

    // Whether the characters that cannot be sent are marked: not in the test mode, and only
    // while the composition says that some cannot.
    void Show(bool shown);

    // The marked characters in sight, at most kMaxUnsendableMarks.
    std::vector<UnsendableMark> InSight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowViewport();

    QTextEdit* box_;
    bool shown_ = false;
};

}  // namespace tarvelo
