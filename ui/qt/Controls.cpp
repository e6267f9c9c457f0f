#include "ui/qt/Controls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QRect>
#include <QScreen>
#include <QSignalBlocker>
#include <QString>
#include <QStyleFactory>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <limits>
#include <utility>

namespace tarvelo {

namespace {
// Sets the icon at the button's first Show event, then removes itself.
class IconOnShow : public QObject {
public:
    IconOnShow(QAbstractButton* button, QStyle::StandardPixmap icon)
        : QObject(button), button_(button), icon_(icon) {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == button_ && event->type() == QEvent::Show) {
            button_->removeEventFilter(this);
            button_->setIcon(button_->style()->standardIcon(icon_));
            deleteLater();
        }
        return false;
    }

private:
    QAbstractButton* button_;
    QStyle::StandardPixmap icon_;
};

// Swallows the key presses with Alt (and without Ctrl, which AltGr may send on Windows).
class AltKeysOut : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const Qt::KeyboardModifiers held = static_cast<QKeyEvent*>(event)->modifiers();
            if (held.testFlag(Qt::AltModifier) && !held.testFlag(Qt::ControlModifier)) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The box's own style, but with its list dropped below it.
class ListBelowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// Calls fit as soon as the window's frame is known. The window system tells it without an
// event that reaches the widget (a dialog that it places where asked is not even moved), so
// the frame is looked at every few milliseconds, for a second at most.
class FrameWatch : public QTimer {
public:
    FrameWatch(QWidget* window, const char* purpose, std::function<void()> fit)
        : QTimer(window), window_(window), fit_(std::move(fit)) {
        setObjectName(QString::fromUtf8(purpose));
        setInterval(kPollMilliseconds);
        connect(this, &QTimer::timeout, this, &FrameWatch::Look);
        start();
    }

private:
    static constexpr int kPollMilliseconds = 10;
    static constexpr int kMostLooks = 100;

    void Look() {
        const bool known = FrameKnown(window_);
        if (known || ++looks_ >= kMostLooks) {
            stop();
            setObjectName(QString());
            deleteLater();
            if (known) {
                fit_();
            }
        }
    }

    QWidget* window_;
    std::function<void()> fit_;
    int looks_ = 0;
};

bool BreaksLine(QChar character) {
    return character == QLatin1Char('\r') || character == QLatin1Char('\n') ||
           character == QChar::Null || character == QChar::LineSeparator ||
           character == QChar::ParagraphSeparator;
}
}  // namespace

QValidator::State SingleLineValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (BreaksLine(input[i])) {
            continue;
        }
        if (i < position) {
            ++keptBeforeCursor;
        }
        kept.append(input[i]);
    }
    if (kept.size() != input.size()) {
        input = kept;
        position = keptBeforeCursor;
    }
    return Acceptable;
}

void MakeSingleLine(QLineEdit* edit) {
    edit->setValidator(new SingleLineValidator(edit));
    edit->setMaxLength(std::numeric_limits<int>::max());
}

QString TakeOutZeroCharacters(QTextEdit* edit) {
    const QString zero(QChar::Null);
    QTextDocument* document = edit->document();
    QString text = document->toPlainText();
    if (!text.contains(zero)) {
        return text;
    }
    const QSignalBlocker quiet(edit);
    for (QTextCursor found = document->find(zero); !found.isNull();
         found = document->find(zero, found)) {
        found.removeSelectedText();
    }
    return document->toPlainText();
}

void ChainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void KeepAltKeysOut(QWidget* box) {
    box->installEventFilter(new AltKeysOut(box));
}

void DropDownBelow(QComboBox* box) {
    auto* style = new ListBelowStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(box);
    box->setStyle(style);
    box->setMaxVisibleItems(10);
    box->view()->setTextElideMode(Qt::ElideRight);
}

void SetStandardIconWhenShown(QAbstractButton* button, QStyle::StandardPixmap icon) {
    new IconOnShow(button, icon);
}

bool FrameKnown(const QWidget* window) {
    return window->frameGeometry() != window->geometry();
}

void WhenFramed(QWidget* window, const char* purpose, std::function<void()> fit) {
    if (!FrameKnown(window) && window->findChild<QObject*>(QString::fromUtf8(purpose),
                                                           Qt::FindDirectChildrenOnly) == nullptr) {
        new FrameWatch(window, purpose, std::move(fit));
    }
}

void CenterOnScreen(QWidget* window) {
    WhenFramed(window, "centring", [window] {
        if (window->isVisible()) {
            CenterOnScreen(window);
        }
    });
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace tarvelo
