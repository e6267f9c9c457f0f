// The domain editor's rules without a window: Add and Delete, what OK and every closing leave,
// and what reaches "tvdomain.ini", from the file and what the list and NewDomain show.
#include "settings/DomainList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Raised.h"
#include "TempDir.h"

namespace tarvelo {
namespace {

using testing::Raised;
using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

using Entries = std::vector<std::string>;

// The editor's controls as a window keeps them from the views.
struct Shown {
    Entries entries;
    int selected = -1;
    std::string newDomain;

    void Take(DomainList& list) {
        const DomainListView view = list.TakeView();
        if (view.entries) {
            entries = *view.entries;
        }
        if (view.selected) {
            selected = *view.selected;
        }
        if (view.newDomain) {
            newDomain = *view.newDomain;
        }
        list.Shown(newDomain);
    }
};

TEST(DomainListTest, AddAndDeleteChangeOnlyTheList) {
    const struct {
        const char* name;
        const char* file;
        const char* typed;  // in NewDomain before acting
        int selected;       // -1: none
        bool deleting;      // else adding
        Entries entries;
        std::string newDomain;
        int selectedAfter;
        std::string raised;
    } rows[] = {
        // Adding: appended as typed, the selection left as it was.
        {"AddEmptyChangesNothing", "A\r\nB\r\n", "", -1, false, {"A", "B"}, "", -1, ""},
        {"AddAsTyped", "A\r\n", "gw-2.Example", -1, false, {"A", "gw-2.Example"}, "", -1, ""},
        {"AddBlank",
         "A\r\n",
         " ",
         -1,
         false,
         {"A"},
         " ",
         -1,
         "送信先ドメイン に空白、<、> や制御文字は使えません"},
        {"AddDuplicate", "A\r\nB\r\n", "A", -1, false, {"A", "B", "A"}, "", -1, ""},
        {"AddKeepsSelection", "A\r\nB\r\n", "C", 0, false, {"A", "B", "C"}, "", 0, ""},
        {"AddShiftJis", "A\r\n", "ドメイン.jp", -1, false, {"A", "ドメイン.jp"}, "", -1, ""},
        // Refused while the text is still there for the correction.
        {"AddAccent",
         "A\r\n",
         "café.example",
         -1,
         false,
         {"A"},
         "café.example",
         -1,
         "ドメイン に Shift-JIS で書けない文字「é」があります"},
        {"AddParameters",
         "A\r\n",
         "gw.example> NOTIFY=SUCCESS",
         -1,
         false,
         {"A"},
         "gw.example> NOTIFY=SUCCESS",
         -1,
         "送信先ドメイン に空白、<、> や制御文字は使えません"},
        // Deleting: only a selected entry, never the last one; its text goes to NewDomain.
        {"DeleteWithoutSelection", "A\r\nB\r\n", "x", -1, true, {"A", "B"}, "x", -1, ""},
        {"DeleteTheOnlyEntry", "A\r\n", "x", 0, true, {"A"}, "x", 0, ""},
        {"DeleteSecondOfThree", "A\r\nB\r\nC\r\n", "x", 1, true, {"A", "C"}, "B", -1, ""},
        {"DeleteEmptyEntry", "A\r\n\r\nC\r\n", "x", 1, true, {"A", "C"}, "", -1, ""},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        WriteFileBytes("tvdomain.ini", row.file);
        DomainList list;
        Shown shown;
        list.Load();
        shown.Take(list);
        shown.newDomain = row.typed;
        shown.selected = row.selected;
        EXPECT_EQ(Raised([&] {
                      row.deleting ? list.Delete(row.selected) : list.Add(row.typed, row.selected);
                  }),
                  row.raised)
            << row.name;
        shown.Take(list);
        EXPECT_EQ(shown.entries, row.entries) << row.name;
        EXPECT_EQ(shown.newDomain, row.newDomain) << row.name;
        EXPECT_EQ(shown.selected, row.selectedAfter) << row.name;
        EXPECT_EQ(ReadFileBytes("tvdomain.ini"), row.file) << row.name;
    }
}

TEST(DomainListTest, OkWritesTheList) {
    // 0xED40 is an NEC duplicate of 0xFA5C, and 0xFF 0x80 no Shift-JIS at all: entries the
    // user left alone go back as their bytes were, a deleted one added back unedited too.
    const std::string odd = "\xED\x40.example\r\nB\xFF\x80\r\nC\r\n";
    const struct {
        const char* name;
        std::string file;
        std::function<void(DomainList&, Shown&)> act;
        std::string written;
    } rows[] = {
        {"Unchanged", "A\nB\rC", [](DomainList&, Shown&) {}, "A\r\nB\r\nC\r\n"},
        {"OddBytesLeftAlone", odd, [](DomainList&, Shown&) {}, odd},
        {"DeletedAndAddedBackUnedited", odd,
         [](DomainList& list, Shown& shown) {
             list.Delete(1);
             shown.Take(list);
             list.Add(shown.newDomain, -1);
         },
         "\xED\x40.example\r\nC\r\nB\xFF\x80\r\n"},
        {"DeletedEditedAndAddedBack", "A\r\nB\r\n",
         [](DomainList& list, Shown& shown) {
             list.Delete(0);
             shown.Take(list);
             list.Add(shown.newDomain + "2", -1);
         },
         "B\r\nA2\r\n"},
        {"FirstDeletedSecondInUse", "A\nB\rC", [](DomainList& list, Shown&) { list.Delete(0); },
         "B\r\nC\r\n"},
        // Enter while typing presses OK: the typed text is not added.
        {"TypedButNotAdded", "A\r\n", [](DomainList&, Shown& shown) { shown.newDomain = "x"; },
         "A\r\n"},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        WriteFileBytes("tvdomain.ini", row.file);
        DomainList list;
        Shown shown;
        list.Load();
        shown.Take(list);
        row.act(list, shown);
        shown.Take(list);
        list.Ok();
        shown.Take(list);
        EXPECT_EQ(ReadFileBytes("tvdomain.ini"), row.written) << row.name;
        EXPECT_EQ(shown.newDomain, "") << row.name;
    }
}

TEST(DomainListTest, ClosingCancelsTheEditsAndTheNextShowingReadsTheFile) {
    TempWorkingDir dir;
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\nC\r\n");
    DomainList list;
    Shown shown;
    list.Load();
    list.Add("D", -1);
    list.Delete(0);
    shown.Take(list);
    EXPECT_EQ(shown.newDomain, "A");
    list.Close();
    shown.Take(list);
    EXPECT_EQ(shown.newDomain, "");
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "A\r\nB\r\nC\r\n");
    list.Load();
    shown.Take(list);
    EXPECT_EQ(shown.entries, (Entries{"A", "B", "C"}));
    EXPECT_EQ(shown.selected, -1);
}

TEST(DomainListTest, FileFailures) {
    TempWorkingDir dir;
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\n");
    DomainList list;
    Shown shown;
    list.Load();
    shown.Take(list);
    // Missing at a showing: the list keeps what it held.
    std::filesystem::remove("tvdomain.ini");
    EXPECT_EQ(Raised([&] { list.Load(); }), "ﾌｧｲﾙ tvdomain.ini は開けません");
    EXPECT_FALSE(list.TakeView().entries);
    std::filesystem::create_directory("tvdomain.ini");
    EXPECT_EQ(Raised([&] { list.Ok(); }), "ﾌｧｲﾙ tvdomain.ini を作成できません");
    EXPECT_TRUE(std::filesystem::is_directory("tvdomain.ini"));
}

}  // namespace
}  // namespace tarvelo
