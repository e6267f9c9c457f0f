// Every control of the five windows as the user sees them, after start-up and after each text
// that a window can show: each label's, button's and check box's text fits its control, each
// control stays inside the one that holds it, text from outside is never read as markup, and no
// read-only box needs a scroll bar for a text that should fit.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ModalHelper.h"
#include "ScriptedServer.h"
#include "SendFixture.h"
#include "app/qt/TvMain.h"
#include "app/qt/UnsendableMarks.h"
#include "app/qt/about.h"
#include "base/Error.h"
#include "mail/qt/Send.h"
#include "settings/LineList.h"
#include "settings/SettingsFiles.h"
#include "settings/qt/DomainE.h"
#include "settings/qt/SubmitDialog.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"

namespace tarvelo {
namespace {

using testing::OnNextModal;
using testing::ScriptedServer;
using testing::ServerConnection;

std::string Name(const QWidget* widget) {
    return (widget->window()->objectName() + "/" + widget->objectName()).toStdString();
}

// Markup shows as markup only where the label reads its text as rich text.
bool ShowsLiterally(const QLabel* label) {
    return label->textFormat() == Qt::PlainText ||
           (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text()));
}

void CheckLabel(QLabel* label, std::vector<std::string>& misfits) {
    if (label->text().isEmpty()) {
        return;
    }
    const std::string name = Name(label) + " \"" + label->text().toStdString() + "\"";
    if (!ShowsLiterally(label)) {
        misfits.push_back(name + ": read as rich text");
    }
    if (label->wordWrap()) {
        if (label->heightForWidth(label->width()) > label->height()) {
            misfits.push_back(name + ": wrapped text taller than the label");
        }
        return;
    }
    const QSize need = label->sizeHint();
    if (need.width() > label->width() || need.height() > label->height()) {
        misfits.push_back(name + ": needs " + std::to_string(need.width()) + "x" +
                          std::to_string(need.height()) + ", has " +
                          std::to_string(label->width()) + "x" + std::to_string(label->height()));
    }
}

void CheckButton(QAbstractButton* button, std::vector<std::string>& misfits) {
    if (button->text().isEmpty()) {
        return;
    }
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    int need = text.width();
    int room = button->width();
    if (qobject_cast<QCheckBox*>(button) != nullptr) {
        need += button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    } else {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        if (!button->icon().isNull()) {
            need += button->iconSize().width() + 4;
        }
    }
    if (need > room || text.height() > button->height()) {
        misfits.push_back(Name(button) + " \"" + button->text().toStdString() + "\": needs " +
                          std::to_string(need) + " pixels, has " + std::to_string(room));
    }
}

// A box that is read-only and has no scroll bar by design shows its whole text.
template <class Box>
void CheckTextBox(Box* box, std::vector<std::string>& misfits) {
    if (!box->isReadOnly() || box->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
        return;
    }
    const std::string name = Name(box) + " \"" + box->toPlainText().toStdString() + "\"";
    if (box->verticalScrollBar()->isVisible() || box->horizontalScrollBar()->isVisible()) {
        misfits.push_back(name + ": shows a scroll bar");
    }
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    if (box->verticalScrollBar()->value() != 0 ||
        box->cursorRect(end).bottom() >= box->viewport()->height()) {
        misfits.push_back(name + ": text runs below the box");
    }
}

void CheckInsideParent(QWidget* widget, std::vector<std::string>& misfits) {
    const QWidget* parent = widget->parentWidget();
    const QRect room = qobject_cast<const QFrame*>(parent) != nullptr
                           ? static_cast<const QFrame*>(parent)->contentsRect()
                           : parent->rect();
    if (!room.contains(widget->geometry())) {
        misfits.push_back(Name(widget) + ": runs past " + parent->objectName().toStdString());
    }
}

// Every misfit in the windows made so far and any message box that is open.
std::vector<std::string> Misfits() {
    std::vector<std::string> misfits;
    std::vector<QWidget*> windows{Form1, SetDialog, DomainEdit, SubmitDialog, AboutBox, SendDlg};
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(top) != nullptr && top->isVisible()) {
            windows.push_back(top);
        }
    }
    for (QWidget* window : windows) {
        if (window == nullptr) {
            continue;
        }
        const bool designed = qobject_cast<QMessageBox*>(window) == nullptr;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            // The dialogs are children of the main window, and are walked on their own.
            if (widget->window() != window || !widget->isVisibleTo(window)) {
                continue;
            }
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                CheckLabel(label, misfits);
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                CheckButton(button, misfits);
            } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
                CheckTextBox(plain, misfits);
            } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
                CheckTextBox(rich, misfits);
            } else {
                continue;
            }
            if (designed) {
                CheckInsideParent(widget, misfits);
            }
        }
    }
    return misfits;
}

// The main window widened so that the debug log area is in sight too.
class WindowTextTest : public testing::SendFixture {
public:
    using SendFixture::Send;

protected:
    void SetUp() override {
        SendFixture::SetUp();
        Form1->resize(700, Form1->height());
    }
};

using Misfit = std::vector<std::string>;

struct ShownCase {
    const char* name;
    std::function<Misfit()> show;  // brings the texts on screen and walks the windows there
};

void PrintTo(const ShownCase& row, std::ostream* out) {
    *out << row.name;
}

Misfit AfterTyping(const char* utf8) {
    Form1->MailMes->setPlainText(Text(utf8));
    return Misfits();
}

// Walks the windows while the About box shows the version.
Misfit InAboutBox() {
    Misfit misfits;
    OnNextModal([&misfits](QWidget* modal) {
        misfits = Misfits();
        modal->close();
    });
    QTest::mouseClick(Form1->AboutBtn, Qt::LeftButton);
    return misfits;
}

// Walks the windows while the settings dialog is open, or the dialog that its button opens.
Misfit InSettings(QPushButton* TSetDialog::*button = nullptr) {
    Misfit misfits{"not opened"};
    OnNextModal([&misfits, button](QWidget* settings) {
        if (button == nullptr) {
            misfits = Misfits();
        } else {
            OnNextModal([&misfits](QWidget* modal) {
                misfits = Misfits();
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            QTest::mouseClick(SetDialog->*button, Qt::LeftButton);
        }
        QTest::keyClick(settings, Qt::Key_Escape);
    });
    QTest::mouseClick(Form1->SetBtn, Qt::LeftButton);
    return misfits;
}

// Walks the windows when the progress dialog's button reads "OK" (or, with atOnce, as soon as
// it shows), the server playing serve.
Misfit InSendDialog(std::function<void(ServerConnection&)> serve, bool atOnce = false) {
    std::optional<ScriptedServer> server;
    if (serve) {
        server.emplace(std::move(serve));
    }
    Misfit misfits;
    WindowTextTest::Send([&misfits, atOnce] {
        if (!atOnce && SendDlg->CancelBtn->text() != "OK") {
            return false;
        }
        misfits = Misfits();
        return true;
    });
    return misfits;
}

// Greets, then answers "HELO " with reply.
void Refuse(ServerConnection& c, const std::string& reply) {
    c.Send("220 mail.example.com ESMTP\r\n");
    if (!c.ReadLine().empty()) {
        c.Send(reply);
    }
}

const std::string kLongReply =
    "554 5.6.0 Message rejected for policy reasons: improper use of 8-bit data in message "
    "header or body, see the documentation of this relay for details\r\n";

// Each mark under a character that cannot be sent, and the tooltip over it, as the user sees them.
Misfit MarksOf(const char* utf8, const std::vector<QString>& tips) {
    Misfit misfits = AfterTyping(utf8);
    const auto* overlay = Form1->MailMes->viewport()->findChild<UnsendableMarks*>();
    std::vector<QString> shown;
    for (const UnsendableMark& mark : overlay->InSight()) {
        // Just before where the box's own cursor after the character stands.
        QTextCursor after(Form1->MailMes->document());
        after.setPosition(mark.position + static_cast<int>(mark.character.size()));
        const QRect cell = Form1->MailMes->cursorRect(after).adjusted(-8, 0, -8, 0);
        QHelpEvent help(QEvent::ToolTip, cell.center(), Form1->MailMes->mapToGlobal(cell.center()));
        QApplication::sendEvent(Form1->MailMes->viewport(), &help);
        shown.push_back(overlay->isVisible() ? QToolTip::text() : QString());
        QToolTip::hideText();
    }
    if (shown != tips) {
        misfits.push_back("marks of \"" + std::string(utf8) + "\" do not name their characters");
    }
    return misfits;
}

const ShownCase kShownCases[] = {
    {"StartUp", [] { return Misfits(); }},
    {"InvalidCharacter", [] { return AfterTyping("漢"); }},
    {"TooLong", [] { return AfterTyping(std::string(70, 'A').c_str()); }},
    {"NoMessage", [] { return AfterTyping(""); }},
    {"InvalidNumber",
     [] {
         Form1->PhsNo->setText(Text("0901234é"));
         const Misfit misfits = AfterTyping("A");
         Form1->PhsNo->clear();
         return misfits;
     }},
    {"UnsendableMarked",
     [] {
         return MarksOf("ハイ。Ａ、", {Text("「。」は送れません"), Text("「、」は送れません")});
     }},
    {"SendableUnmarked", [] { return MarksOf("ハイ", {}); }},
    {"AboutBoxVersion", InAboutBox},
    {"Settings", [] { return InSettings(); }},
    {"DomainEditor", [] { return InSettings(&TSetDialog::DomainEditBtn); }},
    {"Submission", [] { return InSettings(&TSetDialog::SubmitBtn); }},
    {"PlaceholderGatewayRefused",
     [] {
         WriteLineList(kDomainFileName, {"central.phs.example"});
         SetDialog->FormActivate();
         Misfit misfits{"no refusal shown"};
         OnNextModal([&misfits](QWidget* modal) {
             misfits = Misfits();
             const auto* box = qobject_cast<QMessageBox*>(modal);
             if (box == nullptr || !box->text().endsWith(Text("環境設定(P)で設定してください"))) {
                 misfits.push_back("refused without a word");
             }
             modal->close();
         });
         QTest::mouseClick(Form1->sendButton, Qt::LeftButton);
         return misfits;
     }},
    {"Connecting", [] { return InSendDialog([](ServerConnection& c) { c.ReadLine(); }, true); }},
    {"ConnectionFailed", [] { return InSendDialog(nullptr); }},
    {"Sent", [] { return InSendDialog(testing::ServeGoodly); }},
    {"LongReply", [] { return InSendDialog([](ServerConnection& c) { Refuse(c, kLongReply); }); }},
    {"LongWordReply",
     [] {
         return InSendDialog([](ServerConnection& c) {
             Refuse(c, "554 " + std::string(120, 'x') + "\r\n550 second line\r\n");
         });
     }},
    {"MarkupReply",
     [] {
         return InSendDialog(
             [](ServerConnection& c) { Refuse(c, "554 <b>denied</b><br>now\r\n"); });
     }},
    {"MarkupInAnErrorBox",
     [] {
         Misfit misfits;
         OnNextModal([&misfits](QWidget* modal) {
             misfits = Misfits();
             modal->close();
         });
         RunHandler([] { throw Error("'<b>' は整数ではありません"); });
         return misfits;
     }},
};

class EveryTextTest : public WindowTextTest, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(EveryTextTest, FitsItsControlAndShowsAsItIs) {
    EXPECT_EQ(GetParam().show(), Misfit{});
}

INSTANTIATE_TEST_SUITE_P(Texts, EveryTextTest, ::testing::ValuesIn(kShownCases),
                         [](const auto& param) { return std::string(param.param.name); });

// The About box's panel: a lowered outer edge, darker at the top, around a raised inner one,
// lighter at the top.
TEST_F(WindowTextTest, AboutPanelHasARaisedInnerAndALoweredOuterBevel) {
    InAboutBox();
    ASSERT_NE(AboutBox, nullptr);
    const QImage panel = AboutBox->Panel1->grab().toImage();
    const int x = panel.width() / 2;
    const auto lightness = [&panel, x](int y) { return panel.pixelColor(x, y).lightness(); };
    EXPECT_LT(lightness(0), lightness(1)) << "outer edge lowered, inner edge raised";
    EXPECT_LT(lightness(0), lightness(panel.height() / 2)) << "outer top edge in shadow";
}

}  // namespace
}  // namespace tarvelo
