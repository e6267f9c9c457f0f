// The mail image: an editable memo that wraps long lines at its width. A pasted message of a
// megabyte makes a "MSG=" line as long, which the memo would convert and lay out whole (its
// layout works a line at a time) although it shows a few rows of it. So a long image first
// enters the memo by its head, which fills the rows in sight and the scroll bar as the whole
// would; the whole takes its place before anyone can see or reach more: a click, the wheel,
// the focus, a drag or the scroll bar, or Text().
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <vector>

namespace tarvelo {

class MailImageEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MailImageEdit(QWidget* parent = nullptr);

    // Shift-JIS lines, shown from the top.
    void SetLines(std::vector<std::string> lines);
    // The text as the user sees and edits it, whole.
    QString Text();
    // Whether the memo holds only the head of the image set last.
    bool HoldsHead() const { return !rest_.empty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowWhole();
    void Show(const std::vector<std::string>& lines);

    // The whole image while only its head is shown, else empty.
    std::vector<std::string> rest_;
    bool showing_ = false;
};

}  // namespace tarvelo
