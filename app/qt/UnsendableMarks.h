// The characters of the message that cannot be sent, underlined where they stand in the
// message box with a wavy red line, each naming itself in a tooltip.
#pragma once

#include <QObject>
#include <cstddef>
#include <vector>

class QTextEdit;

namespace tarvelo {

// Most marks drawn at once: enough for any message that fits a handset, and a pasted page of
// kanji does not lay out thousands of them at every keystroke.
inline constexpr std::size_t kMaxUnsendableMarks = 200;

class UnsendableMarks : public QObject {
public:
    explicit UnsendableMarks(QTextEdit* box);

    // Marks the characters at these indexes, counted in code points of the box's text (a line
    // break counts one), and takes away the marks drawn before.
    void Mark(const std::vector<std::size_t>& characters);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit* box_;
};

}  // namespace tarvelo
