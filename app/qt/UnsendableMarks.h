// The characters of the message that cannot be sent, underlined where they stand in the
// message box with a wavy red line, each naming itself in a tooltip.
#pragma once

#include <QObject>
#include <cstddef>
#include <vector>

class QTextEdit;

namespace tarvelo {

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
