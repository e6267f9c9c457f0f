#include "app/qt/MailImageEdit.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "compose/Composition.h"
#include "ui/qt/QtShiftJis.h"

namespace tarvelo {

namespace {
// A byte takes 6 pixels or more, so 2 KiB make at least some 44 rows of the memo's 281 pixels:
// more than its 6 rows in sight, and enough that the scroll bar's slider is as short as it can
// be (some 15 rows do). Each kilobyte more is laid out at every change of a long message.
constexpr std::size_t kHeadBytes = 2 * 1024;

// The lines of image up to kHeadBytes, the last one cut at a character's boundary; empty when
// the image is not longer than that.
std::vector<std::string> HeadOf(const std::vector<std::string>& image) {
    std::vector<std::string> head;
    std::size_t left = kHeadBytes;
    for (const std::string& line : image) {
        if (line.size() >= left) {
            std::size_t end = 0;
            while (end < line.size() && end + PreviewCharLength(line, end) <= left) {
                end += PreviewCharLength(line, end);
            }
            head.push_back(line.substr(0, end));
            return head;
        }
        // A line break counts as a byte: an image of many empty lines has a head too.
        left -= std::min(left, line.size() + 1);
        head.push_back(line);
    }
    return {};
}

bool LooksFurther(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::FocusIn:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
            return true;
        default:
            return false;
    }
}
}  // namespace

MailImageEdit::MailImageEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // The box, its viewport and its scroll bars: wherever a first look further begins.
    for (QObject* part : std::initializer_list<QObject*>{this, viewport(), verticalScrollBar(),
                                                         horizontalScrollBar()}) {
        part->installEventFilter(this);
    }
    // Whatever else moves the view, a program's call included, shows the whole first.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (HoldsHead()) {
            ShowWhole();
            verticalScrollBar()->setValue(value);
        }
    });
    // Text set or edited by other means replaces the head, and the rest with it.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!showing_) {
            rest_.clear();
        }
    });
}

void MailImageEdit::SetLines(std::vector<std::string> lines) {
    rest_.clear();
    std::vector<std::string> head = hasFocus() ? std::vector<std::string>() : HeadOf(lines);
    if (head.empty()) {
        Show(lines);
    } else {
        Show(head);
        rest_ = std::move(lines);
    }
}

QString MailImageEdit::Text() {
    ShowWhole();
    return toPlainText();
}

void MailImageEdit::ShowWhole() {
    if (HoldsHead()) {
        Show(std::exchange(rest_, {}));
    }
}

void MailImageEdit::Show(const std::vector<std::string>& lines) {
    // Through the document: the box's own setPlainText lays a long line out a second time
    // when it puts the cursor back at the start. The box never has the focus while it is
    // set, and a click into it places the cursor anew; the view goes back to the top.
    showing_ = true;
    document()->setPlainText(FromShiftJisLines(lines));
    showing_ = false;
    verticalScrollBar()->setValue(0);
}

bool MailImageEdit::eventFilter(QObject* watched, QEvent* event) {
    if (LooksFurther(event)) {
        ShowWhole();
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

}  // namespace tarvelo
