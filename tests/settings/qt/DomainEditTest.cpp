// The domain editor's wiring: its controls to its form (settings/DomainList.h, whose rules
// tests/settings/DomainListTest.cpp tests) and back, the keys, every way of closing, the error
// path and the resize rule; driven with real key and mouse events.
#include "settings/qt/DomainE.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QListWidgetItem>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ModalHelper.h"
#include "TempDir.h"

namespace {

using tarvelo::testing::CaptureNextMessageBox;
using tarvelo::testing::OnNextModal;
using tarvelo::testing::ReadFileBytes;
using tarvelo::testing::TempWorkingDir;
using tarvelo::testing::WriteFileBytes;

std::vector<std::string> Entries(const QListWidget* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i) {
        entries.push_back(list->item(i)->text().toStdString());
    }
    return entries;
}

std::vector<int> SelectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (const QListWidgetItem* item : list->selectedItems()) {
        rows.push_back(list->row(item));
    }
    return rows;
}

void ClickEntry(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

struct EditCase {
    const char* name;
    const char* file;
    const char* typed;  // in NewDomain before acting
    int clickedRow;     // -1: no entry clicked
    bool deleting;      // else adding
    std::vector<std::string> entries;
    std::string newDomain;
    std::vector<int> selected;
};

void PrintTo(const EditCase& row, std::ostream* out) {
    *out << row.name;
}

// The typed text and the clicked entry reach the form; the list, its selection and NewDomain
// come back.
const EditCase kEditCases[] = {
    {"AddKeepsSelection", "A\r\nB\r\n", "C", 0, false, {"A", "B", "C"}, "", {0}},
    {"DeleteSecondOfThree", "A\r\nB\r\nC\r\n", "x", 1, true, {"A", "C"}, "B", {}},
};

class EditTest : public ::testing::TestWithParam<EditCase> {
protected:
    TempWorkingDir dir_;
};

TEST_P(EditTest, ButtonsChangeOnlyTheList) {
    const EditCase& row = GetParam();
    WriteFileBytes("tvdomain.ini", row.file);
    TDomainEdit editor;
    editor.show();
    QTest::keyClicks(editor.NewDomain, row.typed);
    if (row.clickedRow >= 0) {
        ClickEntry(editor.DomainList, row.clickedRow);
    }
    QTest::mouseClick(row.deleting ? editor.DelBtn : editor.AddBtn, Qt::LeftButton);
    EXPECT_EQ(Entries(editor.DomainList), row.entries);
    EXPECT_EQ(editor.NewDomain->text().toStdString(), row.newDomain);
    EXPECT_EQ(SelectedRows(editor.DomainList), row.selected);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), row.file);
    editor.hide();
}

INSTANTIATE_TEST_SUITE_P(Rules, EditTest, ::testing::ValuesIn(kEditCases),
                         [](const ::testing::TestParamInfo<EditCase>& row) {
                             return std::string(row.param.name);
                         });

class DomainEditTest : public ::testing::Test {
protected:
    TempWorkingDir dir_;
};

TEST_F(DomainEditTest, EnterWhileTypingPressesOkWithoutAddingTheText) {
    WriteFileBytes("tvdomain.ini", "A\nB");
    TDomainEdit editor;
    OnNextModal([&editor](QWidget*) {
        // Clicked into first, as a user does: the editor opens with the focus on Add. Only an
        // active window moves the focus at a click, and Return presses the focused button.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        QTest::mouseClick(editor.NewDomain, Qt::LeftButton);
        QTest::keyClicks(editor.NewDomain, "new.example");
        QTest::keyClick(editor.NewDomain, Qt::Key_Return);
    });
    EXPECT_EQ(editor.exec(), QDialog::Accepted);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "A\r\nB\r\n");
    EXPECT_EQ(editor.NewDomain->text(), QString());
}

// The editor opens where its tab order starts, so that Enter at once does not press OK.
TEST_F(DomainEditTest, OpensWithTheFocusOnAddAndEnterThereWritesNothing) {
    WriteFileBytes("tvdomain.ini", "A\nB");
    TDomainEdit editor;
    QWidget* focused = nullptr;
    bool openAfterEnter = false;
    OnNextModal([&](QWidget*) {
        // The dialog's own focus child: the application's is none until the window is active.
        focused = editor.focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, Qt::Key_Return);
        openAfterEnter = editor.isVisible();
        QTest::keyClick(&editor, Qt::Key_Escape);
    });
    editor.exec();
    EXPECT_EQ(focused, editor.AddBtn);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "A\nB");
}

TEST_F(DomainEditTest, EveryWayOfClosingEmptiesNewDomain) {
    WriteFileBytes("tvdomain.ini", "A\r\n");
    TDomainEdit editor;
    const std::vector<std::function<void()>> closings{
        [&editor] { QTest::keyClick(editor.NewDomain, Qt::Key_Escape); },
        [&editor] { QTest::mouseClick(editor.BitBtnCan, Qt::LeftButton); },
        [&editor] { editor.close(); },  // the close box
    };
    for (const auto& closeEditor : closings) {
        OnNextModal([&editor, &closeEditor](QWidget*) {
            QTest::keyClicks(editor.NewDomain, "typed");
            closeEditor();
        });
        EXPECT_EQ(editor.exec(), QDialog::Rejected);
        EXPECT_EQ(editor.NewDomain->text(), QString());
    }
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "A\r\n");
}

TEST_F(DomainEditTest, FailedWriteAtOkShowsTheErrorAndCloses) {
    WriteFileBytes("tvdomain.ini", "A\r\n");
    TDomainEdit editor;
    QString text;
    OnNextModal([&editor, &text](QWidget*) {
        std::filesystem::remove("tvdomain.ini");
        std::filesystem::create_directory("tvdomain.ini");
        QTest::keyClicks(editor.NewDomain, "typed");
        CaptureNextMessageBox(&text);
        QTest::mouseClick(editor.BitBtnOk, Qt::LeftButton);
    });
    editor.exec();
    EXPECT_EQ(text.toStdString(), "ﾌｧｲﾙ tvdomain.ini を作成できません");
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.NewDomain->text(), QString());
}

// The list takes the client area above the panel, which keeps its height at the bottom.
void ExpectListAbovePanel(const TDomainEdit& editor) {
    const int listHeight = editor.height() - 94;
    EXPECT_EQ(editor.DomainList->geometry(), QRect(0, 0, editor.width(), listHeight));
    EXPECT_EQ(editor.Panel1->geometry(), QRect(0, listHeight, editor.width(), 94));
}

TEST_F(DomainEditTest, OnlyTheHeightCanBeChanged) {
    WriteFileBytes("tvdomain.ini", "A\r\n");
    TDomainEdit editor;
    editor.show();
    EXPECT_EQ(editor.frameGeometry().size(), QSize(335, 214));
    ExpectListAbovePanel(editor);
    editor.resize(500, 300);
    EXPECT_EQ(editor.frameGeometry().width(), 335);
    EXPECT_EQ(editor.height(), 300);
    ExpectListAbovePanel(editor);
    editor.resize(200, 160);
    EXPECT_EQ(editor.frameGeometry().width(), 335);
    EXPECT_EQ(editor.height(), 160);
    ExpectListAbovePanel(editor);
    // A later showing keeps the height the user gave it.
    editor.hide();
    editor.show();
    EXPECT_EQ(editor.height(), 160);
    // However short the user makes it, three entries of the list stay in sight.
    editor.resize(335, 40);
    EXPECT_GE(editor.DomainList->height(), 3 * 12);
    editor.hide();
}

}  // namespace
