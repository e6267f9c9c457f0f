#include "app/qt/TvMain.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTextLayout>
#include <QWheelEvent>
#include <filesystem>
#include <functional>
#include <vector>

#include "ModalHelper.h"
#include "TempDir.h"
#include "Typing.h"
#include "app/qt/HandsetPreview.h"
#include "app/qt/MailImageEdit.h"
#include "app/qt/Startup.h"
#include "app/qt/about.h"
#include "mail/qt/Send.h"
#include "settings/qt/DomainE.h"
#include "settings/qt/SubmitDialog.h"
#include "settings/qt/setting.h"
#include "ui/qt/Controls.h"
#include "ui/qt/UpDown.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::TempWorkingDir;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindows();
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    }
    void TearDown() override { DestroyWindows(); }

    static QString Lines(const QPlainTextEdit* box) { return box->toPlainText(); }

    TempWorkingDir dir_;
};

TEST_F(MainWindowTest, StartUpCreatesTheMainWindowTheSettingsAndBothSettingsFiles) {
    ASSERT_NE(Form1, nullptr);
    ASSERT_NE(SetDialog, nullptr);
    EXPECT_TRUE(std::filesystem::exists("tvemail.ini"));
    EXPECT_TRUE(std::filesystem::exists("tvdomain.ini"));
    EXPECT_EQ(Form1->windowTitle(), Text("Tarvelo from E-Mail"));
}

// The settings are loaded while the windows are made, before the main window first composes:
// a stored reply number is in the very first mail image, read while the settings dialog has no
// controls yet.
TEST(StartUp, SettingsAreLoadedBeforeTheFirstComposition) {
    TempWorkingDir dir;
    testing::WriteFileBytes("tvemail.ini", "a@example.com\r\nmail\r\n0801\r\n");
    CreateWindows();
    EXPECT_EQ(SetDialog->parent(), Form1) << "the main window comes first";
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    EXPECT_EQ(Form1->TvMes->toPlainText(), Text("PHSNO=\nRESNO=0801\nMSG="));
    EXPECT_EQ(SetDialog->ResNo, nullptr);
    EXPECT_EQ(DomainEdit, nullptr);
    EXPECT_EQ(SubmitDialog, nullptr);
    EXPECT_EQ(AboutBox, nullptr);
    EXPECT_EQ(SendDlg, nullptr);
    DestroyWindows();
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(SetDialog, nullptr);
}

// Each dialog is made when first opened, over the window that opens it, and opened again as the
// same one.
TEST_F(MainWindowTest, EachDialogIsMadeWhenFirstOpenedAndKept) {
    const struct {
        const char* name;
        QPushButton* TSetDialog::*inSettings;  // null: the main window's About button
        std::function<QDialog*()> made;
    } rows[] = {
        {"About", nullptr, [] { return AboutBox.data(); }},
        {"DomainEditor", &TSetDialog::DomainEditBtn, [] { return DomainEdit.data(); }},
        {"Submission", &TSetDialog::SubmitBtn, [] { return SubmitDialog.data(); }},
    };
    for (const auto& row : rows) {
        std::vector<QWidget*> opened;
        for (int use = 0; use < 2; ++use) {
            testing::OnNextModal(
                [&opened](QWidget* modal) {
                    opened.push_back(modal);
                    QTest::keyClick(modal, Qt::Key_Escape);
                },
                5000, [&row](QWidget* modal) { return modal == row.made(); });
            if (row.inSettings == nullptr) {
                QTest::mouseClick(Form1->AboutBtn, Qt::LeftButton);
                continue;
            }
            testing::OnNextModal([&row](QWidget*) {
                QTest::mouseClick(SetDialog->*row.inSettings, Qt::LeftButton);
                QTest::keyClick(SetDialog, Qt::Key_Escape);
            });
            QTest::mouseClick(Form1->SetBtn, Qt::LeftButton);
        }
        ASSERT_NE(row.made(), nullptr) << row.name;
        EXPECT_EQ(opened, (std::vector<QWidget*>{row.made(), row.made()})) << row.name;
        QWidget* over = row.inSettings == nullptr ? static_cast<QWidget*>(Form1) : SetDialog;
        EXPECT_EQ(row.made()->parentWidget(), over) << row.name;
    }
}

TEST_F(MainWindowTest, FirstShowingComposesTheEmptyMessage) {
    EXPECT_EQ(Form1->msgErr->toPlainText(), Text("メッセージがありません"));
    EXPECT_EQ(Form1->phsErr->toPlainText(), Text("PHS Noがありません"));
    EXPECT_FALSE(Form1->sendButton->isEnabled());
    EXPECT_EQ(Lines(Form1->TvMes), Text("PHSNO=\nMSG="));
}

TEST_F(MainWindowTest, TypingComposesPreviewMailImageAndEnablesSending) {
    testing::TypeText(Form1->MailMes, Text("がっこう abc"));
    EXPECT_EQ(Form1->TvImg->toPlainText(), Text("カ゛ツコウ　ＡＢＣ"));
    EXPECT_FALSE(Form1->sendButton->isEnabled());
    EXPECT_TRUE(Form1->msgErr->toPlainText().isEmpty());

    testing::TypeText(Form1->PhsNo, Text("070"));
    EXPECT_TRUE(Form1->phsErr->toPlainText().isEmpty());
    EXPECT_TRUE(Form1->sendButton->isEnabled());
    EXPECT_EQ(Lines(Form1->TvMes), Text("PHSNO=070\nMSG=カ゛ツコウ　ＡＢＣ"));

    QTest::keyClick(Form1->MailMes, Qt::Key_Return);
    EXPECT_EQ(Form1->msgErr->toPlainText(), Text("不正な文字がふくまれています"));
    EXPECT_FALSE(Form1->sendButton->isEnabled());
}

TEST_F(MainWindowTest, TestModeClickSwitchesPreviewAtOnce) {
    testing::TypeText(Form1->MailMes, Text("ab"));
    QTest::keyClick(Form1->MailMes, Qt::Key_Return);
    testing::TypeText(Form1->MailMes, Text("漢"));
    EXPECT_EQ(Form1->TvImg->toPlainText(), Text("ＡＢ"));

    QTest::mouseClick(Form1->NonCng, Qt::LeftButton);
    ASSERT_TRUE(Form1->NonCng->isChecked());
    EXPECT_EQ(Form1->TvImg->toPlainText(), Text("ab\n漢"));
    EXPECT_EQ(Lines(Form1->TvMes), Text("PHSNO=\nMSG=ab\n漢"));

    QTest::mouseClick(Form1->NonCng, Qt::LeftButton);
    EXPECT_EQ(Form1->TvImg->toPlainText(), Text("ＡＢ"));
}

TEST_F(MainWindowTest, UnencodableCharacterIsRefusedNotReplaced) {
    testing::TypeText(Form1->PhsNo, Text("1"));
    testing::TypeText(Form1->MailMes, Text("ア\u00E9"));
    EXPECT_EQ(Form1->TvImg->toPlainText(), Text("ア"));
    EXPECT_EQ(Form1->msgErr->toPlainText(), Text("不正な文字がふくまれています"));
    EXPECT_FALSE(Form1->sendButton->isEnabled());
}

// What the message box shows is what the preview and the mail carry: a NUL character would
// end the text that is converted and sent.
TEST_F(MainWindowTest, PastedNulCharactersAreTakenOutOfTheMessage) {
    testing::TypeText(Form1->PhsNo, Text("1"));
    Form1->MailMes->insertPlainText(QString::fromUtf16(u"アイ\0ウエ\0オ", 7));
    EXPECT_EQ(Form1->MailMes->toPlainText(), Text("アイウエオ"));
    EXPECT_EQ(Form1->TvImg->toPlainText(), Text("アイウエオ"));
    EXPECT_EQ(Lines(Form1->TvMes), Text("PHSNO=1\nMSG=アイウエオ"));
    testing::TypeText(Form1->MailMes, Text("カ"));
    EXPECT_EQ(Form1->MailMes->toPlainText(), Text("アイウエオカ")) << "typing goes on at the end";
}

// A character the IPA fonts lack (Armenian here, as an emoji on a system with an emoji font)
// is drawn in the message box by a fallback font of the system, not as an empty box.
TEST_F(MainWindowTest, MessageBoxDrawsCharactersTheIpaFontsLackWithAFallbackFont) {
    QTextLayout layout(Text("アԱ"), Form1->MailMes->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList families;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (quint32 glyph : run.glyphIndexes()) {
            EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
        }
        families.push_back(run.rawFont().familyName());
    }
    EXPECT_EQ(families.size(), 2) << families.join(QLatin1Char(',')).toStdString();
}

// Typed into the settings dialog and saved with OK.
TEST_F(MainWindowTest, ReplyNumberEntersTheMailImageOnlyAtTheNextComposition) {
    testing::TypeText(Form1->MailMes, Text("A"));
    testing::OnNextModal([](QWidget*) {
        testing::TypeText(SetDialog->ResNo, Text("09012345678"));
        QTest::keyClick(SetDialog->ResNo, Qt::Key_Return);
    });
    QTest::mouseClick(Form1->SetBtn, Qt::LeftButton);
    ASSERT_FALSE(SetDialog->isVisible());
    EXPECT_EQ(Lines(Form1->TvMes), Text("PHSNO=\nMSG=Ａ"));
    testing::TypeText(Form1->PhsNo, Text("5"));
    EXPECT_EQ(Lines(Form1->TvMes), Text("PHSNO=5\nRESNO=09012345678\nMSG=Ａ"));
}

// Only the five designed tab stops take the focus from the keyboard, in the designed order.
TEST_F(MainWindowTest, TabVisitsTheDesignedStopsInOrder) {
    testing::TypeText(Form1->MailMes, Text("A"));
    testing::TypeText(Form1->PhsNo, Text("1"));
    Form1->activateWindow();
    Form1->MailMes->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    const QWidget* expected[] = {Form1->PhsNo, Form1->ClmUpDown, Form1->sendButton, Form1->SetBtn,
                                 Form1->MailMes};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    EXPECT_EQ(Form1->MailMes->toPlainText(), Text("A")) << "Tab moves on, it types nothing";
}

TEST_F(MainWindowTest, SpinnerStepsWithinFiveToFifteenAndSetsPreviewWidth) {
    EXPECT_EQ(Form1->rcvClm->text(), Text("12"));
    EXPECT_EQ(Form1->TvImg->width(), 152);
    const QPoint left(3, 10);
    const QPoint right(12, 10);
    QTest::mouseClick(Form1->ClmUpDown, Qt::LeftButton, {}, left);
    EXPECT_EQ(Form1->rcvClm->text(), Text("11"));
    EXPECT_EQ(Form1->TvImg->width(), 140);
    for (int i = 0; i < 10; ++i) {
        QTest::mouseClick(Form1->ClmUpDown, Qt::LeftButton, {}, left);
    }
    EXPECT_EQ(Form1->rcvClm->text(), Text("5"));
    EXPECT_EQ(Form1->TvImg->width(), 68);
    for (int i = 0; i < 12; ++i) {
        QTest::mouseClick(Form1->ClmUpDown, Qt::LeftButton, {}, right);
    }
    EXPECT_EQ(Form1->rcvClm->text(), Text("15"));
    EXPECT_EQ(Form1->TvImg->width(), 188);
}

// Each row of the preview must hold exactly as many full-width characters as the handset has
// columns (twice as many half-width ones), or the preview lies about the handset's display.
// Where the rows break is the core's (PreviewRows); here the widget's width must give it the
// column count, and the font must keep to the cells it is drawn in.
TEST_F(MainWindowTest, PreviewRowsHoldExactlyTheColumnCount) {
    QFontMetrics metrics(Form1->TvImg->font());
    ASSERT_EQ(metrics.horizontalAdvance(Text("ア")), 12);
    ASSERT_EQ(metrics.horizontalAdvance(Text("ｱ")), 6);

    const QString kana = Text(
        "アイウエオカキクケコサシスセソタチツテトナニヌネノ"
        "ハヒフヘホマミムメモヤユヨラリルレロワヲン"
        "１２３４５６７８９０ＡＢＣＤＥＦＧＨＩＪ");
    testing::TypeText(Form1->MailMes, kana);
    for (int columns : {5, 12, 15}) {
        Form1->ClmUpDown->SetPosition(columns);
        Form1->ClmUpDownClick();
        ASSERT_EQ(Form1->TvImg->width(), columns * 12 + 8);
        EXPECT_EQ(Form1->TvImg->Columns(), columns);
        const int rows = Form1->TvImg->RowCount();
        ASSERT_EQ(rows, (kana.size() + columns - 1) / columns) << columns;
        for (int row = 0; row < rows; ++row) {
            EXPECT_EQ(Form1->TvImg->RowText(row), kana.mid(row * columns, columns))
                << "columns " << columns << ", row " << row;
        }
    }
}

// In test mode the text goes unconverted: half-width characters take half a column each.
TEST_F(MainWindowTest, PreviewInTestModePutsTwoHalfWidthCharactersInAColumn) {
    QTest::mouseClick(Form1->NonCng, Qt::LeftButton);
    testing::TypeText(Form1->MailMes, Text("abcdefghijklmnopqrstuvwxyzｱｲｳ漢字"));
    ASSERT_EQ(Form1->TvImg->Columns(), 12);
    ASSERT_EQ(Form1->TvImg->RowCount(), 2);
    EXPECT_EQ(Form1->TvImg->RowText(0), Text("abcdefghijklmnopqrstuvwx"));
    EXPECT_EQ(Form1->TvImg->RowText(1), Text("yzｱｲｳ漢字"));
}

// The preview scrolls by wheel and keys within its rows, and a new text shows from the top.
TEST_F(MainWindowTest, PreviewScrollsWithinItsRows) {
    HandsetPreview* preview = Form1->TvImg;
    testing::TypeText(Form1->MailMes, QString(12 * 30, QLatin1Char('A')));
    ASSERT_EQ(preview->RowCount(), 30);
    const int visible = preview->VisibleRowCount();
    ASSERT_GT(visible, 5);
    ASSERT_LT(visible, 30);

    QTest::keyClick(preview, Qt::Key_Down);
    EXPECT_EQ(preview->FirstVisibleRow(), 1);
    QTest::keyClick(preview, Qt::Key_Up);
    QTest::keyClick(preview, Qt::Key_Up);
    EXPECT_EQ(preview->FirstVisibleRow(), 0) << "stops at the top";
    QTest::keyClick(preview, Qt::Key_PageDown);
    EXPECT_EQ(preview->FirstVisibleRow(), visible - 1);
    QTest::keyClick(preview, Qt::Key_End);
    const int last = preview->FirstVisibleRow();
    EXPECT_GE(last + visible, 30);
    EXPECT_LE(last + visible - 1, 30) << "the last row stays in sight";

    QWheelEvent up(QPointF(10, 10), preview->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(preview, &up);
    EXPECT_EQ(preview->FirstVisibleRow(), last - 3);

    testing::TypeText(Form1->MailMes, Text("A"));
    EXPECT_EQ(preview->FirstVisibleRow(), 0);
}

// A drag selects whole characters; Ctrl+C copies them, Ctrl+A takes the whole text.
TEST_F(MainWindowTest, PreviewSelectsAndCopies) {
    HandsetPreview* preview = Form1->TvImg;
    testing::TypeText(Form1->MailMes, Text("アイウエオ"));
    const QPoint origin = preview->contentsRect().topLeft() + QPoint(2, 5);
    QTest::mousePress(preview, Qt::LeftButton, {}, origin + QPoint(13, 0));
    QTest::mouseMove(preview, origin + QPoint(37, 0));
    QTest::mouseRelease(preview, Qt::LeftButton, {}, origin + QPoint(37, 0));
    EXPECT_EQ(preview->SelectedText(), Text("イウ"));
    QTest::keyClick(preview, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Text("イウ"));
    QTest::keyClick(preview, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(preview->SelectedText(), Text("アイウエオ"));
}

// A long mail image first holds its head, drawn as the whole would be, scroll bar included;
// whatever looks further finds the whole there first.
struct LookCase {
    const char* name;
    void (*look)(MailImageEdit*);
    bool scrolls;
    bool focuses;  // the caret shows
};

void PrintTo(const LookCase& row, std::ostream* out) {
    *out << row.name;
}

class MailImageTest : public MainWindowTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(MailImageTest, LongImageIsWholeWhereverOneLooks) {
    MailImageEdit* image = Form1->TvMes;
    const QString message(6000, QChar(0x30A2));  // 12,000 bytes of ア
    Form1->MailMes->setPlainText(message);
    ASSERT_TRUE(image->HoldsHead());
    const QImage head = image->grab().toImage();

    GetParam().look(image);
    EXPECT_FALSE(image->HoldsHead());
    EXPECT_EQ(Lines(image), Text("PHSNO=\nMSG=") + message);
    EXPECT_FALSE(image->document()->isUndoAvailable());
    EXPECT_EQ(image->verticalScrollBar()->value() > 0, GetParam().scrolls);
    if (!GetParam().scrolls && !GetParam().focuses) {
        EXPECT_EQ(image->grab().toImage(), head);
    }
    if (GetParam().focuses) {
        EXPECT_EQ(image->textCursor().position(), 0) << "placed where clicked";
    }
}

void WheelDown(MailImageEdit* image) {
    const QPointF at(10, 10);
    QWheelEvent down(at, image->viewport()->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(image->viewport(), &down);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, MailImageTest,
    ::testing::Values(
        LookCase{"TheSendingReadsIt", [](MailImageEdit* image) { image->Text(); }, false, false},
        LookCase{"ClickIntoIt",
                 [](MailImageEdit* image) {
                     QTest::mouseClick(image->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
                 },
                 false, true},
        LookCase{"Wheel", WheelDown, true, false},
        LookCase{"ScrollBarPage",
                 [](MailImageEdit* image) {
                     QScrollBar* bar = image->verticalScrollBar();
                     QTest::mouseClick(bar, Qt::LeftButton, {},
                                       QPoint(bar->width() / 2, bar->height() * 3 / 4));
                 },
                 true, false}),
    [](const ::testing::TestParamInfo<LookCase>& param) { return std::string(param.param.name); });

TEST_F(MainWindowTest, ResizeRuleHoldsHeightAndMinimumWidthAndSizesTheLog) {
    struct Row {
        int width;
        int height;
        int outerWidth;
        int logWidth;
    };
    const QSize frame = Form1->frameGeometry().size() - Form1->size();
    for (const Row& row : {Row{300, 100, 365, 20}, Row{365, 600, 365, 20}, Row{400, 367, 400, 20},
                           Row{401, 200, 401, 21}, Row{800, 900, 800, 420}}) {
        Form1->resize(QSize(row.width, row.height) - frame);
        QCoreApplication::processEvents();
        EXPECT_EQ(Form1->frameGeometry().width(), row.outerWidth) << row.width;
        EXPECT_EQ(Form1->frameGeometry().height(), 367) << row.width;
        EXPECT_EQ(Form1->Log->width(), row.logWidth) << row.width;
        EXPECT_EQ(Form1->Log->x(), 368) << row.width;
    }
}

TEST_F(MainWindowTest, StartsNarrowWithTheLogOutOfSight) {
    EXPECT_EQ(Form1->frameGeometry().width(), 365);
    EXPECT_EQ(Form1->frameGeometry().height(), 367);
    EXPECT_GE(Form1->Log->x(), Form1->width());
    EXPECT_GE(Form1->NonCng->x(), Form1->width());
}

TEST_F(MainWindowTest, AboutShowsTheVersionEveryTime) {
    for (int showing = 0; showing < 2; ++showing) {
        if (AboutBox != nullptr) {
            AboutBox->ProgName->setText(Text("something else"));
        }
        QString shown;
        testing::OnNextModal([&shown](QWidget* modal) {
            auto* box = qobject_cast<TAboutBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->ProgName->text();
            QTest::mouseClick(box->OKButton, Qt::LeftButton);
        });
        QTest::mouseClick(Form1->AboutBtn, Qt::LeftButton);
        EXPECT_EQ(shown, Text("Tarvelo from E-Mail Ver 1.1beta1"));
    }
}

class LogFileTest : public MainWindowTest {
protected:
    // The window system resizes a shown window in its own time.
    static void ResizeTo(int width) {
        Form1->resize(width, Form1->height());
        QCoreApplication::processEvents();
    }
};

// The block's bytes are tested where they are made (LogFileTest.cpp); here, what the button
// does with the memo.
TEST_F(LogFileTest, SaveWritesTheLinesAsAddedAndClearsTheMemo) {
    Form1->AddLog(" R:250 first\r\n250 second");
    QTest::mouseClick(Form1->LogSaveBtn, Qt::LeftButton);
    EXPECT_TRUE(Form1->Log->toPlainText().isEmpty());
    EXPECT_TRUE(Form1->LogLines().empty());
    EXPECT_EQ(
        ReadFileBytes("TVEMAIL.LOG"),
        "--- Logging by Tarvelo from E-Mail Ver 1.1beta1 ---\r\n R:250 first\r\n250 second\r\n");
}

TEST_F(LogFileTest, OpenErrorKeepsTheMemoAndWritesNothing) {
    std::filesystem::create_directory("TVEMAIL.LOG");
    Form1->AddLog(" R:220 ready");
    QString message;
    testing::CaptureNextMessageBox(&message);
    QTest::mouseClick(Form1->LogSaveBtn, Qt::LeftButton);
    EXPECT_EQ(message, Text("Log File <TVEMAIL.LOG> Open Error"));
    EXPECT_EQ(Form1->LogLines().size(), 1u);
    ResizeTo(700);
    EXPECT_EQ(Form1->Log->toPlainText(), Text(" R:220 ready"));
}

// The narrow memo holds its lines back; widened, it shows them all, then each as it comes,
// and narrowed again it keeps what it shows.
TEST_F(LogFileTest, NarrowMemoShowsItsLinesWhenWidened) {
    Form1->AddLog(" S:HELO example.com");
    Form1->AddLog(" R:250 ok\r\n250 more");
    EXPECT_TRUE(Form1->Log->toPlainText().isEmpty());
    ResizeTo(700);
    EXPECT_EQ(Form1->Log->toPlainText(), Text(" S:HELO example.com\n R:250 ok\n250 more"));
    Form1->AddLog(" S:QUIT");
    EXPECT_EQ(Form1->Log->toPlainText(), Text(" S:HELO example.com\n R:250 ok\n250 more\n S:QUIT"));
    ResizeTo(300);
    Form1->AddLog(" R:221 bye");
    ResizeTo(700);
    EXPECT_EQ(Form1->Log->toPlainText(),
              Text(" S:HELO example.com\n R:250 ok\n250 more\n S:QUIT\n R:221 bye"));
    EXPECT_EQ(Form1->LogLines().size(), 5u);
}

TEST_F(LogFileTest, ClearEmptiesTheLogWithoutWriting) {
    Form1->AddLog(" S:HELO example.com");
    QTest::mouseClick(Form1->LogClrBtn, Qt::LeftButton);
    EXPECT_TRUE(Form1->Log->toPlainText().isEmpty());
    EXPECT_TRUE(Form1->LogLines().empty());
    EXPECT_FALSE(std::filesystem::exists("TVEMAIL.LOG"));
}

}  // namespace
}  // namespace tarvelo
