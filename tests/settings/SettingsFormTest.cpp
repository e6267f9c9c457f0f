// The settings dialog's rules without a window: the load, OK's checks in their order and what it
// writes, the question about a file changed on disk and its answers, the OK button's state and
// the round trip through the domain editor. Each row starts from the files on disk and what the
// edits show, as a window hands them over.
#include "settings/SettingsForm.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Raised.h"
#include "TempDir.h"

namespace tarvelo {
namespace {

using namespace std::string_literals;
using testing::Raised;
using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

using Fields = std::array<std::optional<std::string>, kSettingsFields>;
using Entries = std::vector<std::string>;

constexpr const char* kDefaultDomainsFile =
    "central.phs.example\r\nkansai.phs.example\r\ntohoku.phs.example\r\n"
    "tokai.phs.example\r\nchugoku.phs.example\r\n";
constexpr const char* kStoredSettings = "me@example.com\r\nsmtp.example\r\n0701234\r\n";
const SettingsTexts kStoredTexts{"me@example.com", "smtp.example", "0701234"};
const std::optional<std::string> kMissing;  // no file by that name
constexpr const char* kDirectory = "\x01";  // a directory by that name

void Make(const char* name, const std::optional<std::string>& bytes) {
    if (bytes == kDirectory) {
        std::filesystem::create_directory(name);
    } else if (bytes) {
        WriteFileBytes(name, *bytes);
    }
}

std::optional<std::string> Read(const char* name) {
    if (std::filesystem::is_directory(name)) {
        return kDirectory;
    }
    return std::filesystem::exists(name) ? std::optional(ReadFileBytes(name)) : std::nullopt;
}

// A window's writing back: the edits take what the view sets, and then show it, or what
// edit makes of it.
SettingsTexts Apply(SettingsForm& form, const SettingsView& view, SettingsTexts now,
                    const std::function<void(SettingsTexts&)>& edit = nullptr) {
    for (std::size_t i = 0; i < kSettingsFields; ++i) {
        if (view.fields[i]) {
            now[i] = *view.fields[i];
        }
    }
    if (edit) {
        edit(now);
    }
    form.Shown(now);
    return now;
}

TEST(SettingsFormTest, TheLoad) {
    const struct {
        const char* name;
        std::optional<std::string> settings, domains;  // on disk before
        SettingsTexts now;                             // what the edits show before
        Fields fields;                                 // what the load sets
        std::optional<Entries> entries;
        std::optional<int> selected;
        bool okEnabled;
        std::string raised;
        std::optional<std::string> settingsAfter, domainsAfter;
    } rows[] = {
        {"FirstStartWritesBothDefaults",
         kMissing,
         kMissing,
         {},
         {"tarvelo@example.com", "mail", std::nullopt},
         Entries{"central.phs.example", "kansai.phs.example", "tohoku.phs.example",
                 "tokai.phs.example", "chugoku.phs.example"},
         0,
         true,
         "",
         "tarvelo@example.com\r\nmail\r\n\r\n",
         kDefaultDomainsFile},
        // Three empty values change no edit: OK stays disabled until the user acts.
        {"ThreeEmptyValues",
         "\r\n\r\n\r\n",
         "A\r\n",
         {},
         {},
         Entries{"A"},
         0,
         false,
         "",
         "\r\n\r\n\r\n",
         "A\r\n"},
        {"AnEditAlreadyShowingItsValue",
         "\r\nsmtp.example\r\n\r\n",
         "A\r\n",
         {"", "smtp.example", ""},
         {},
         Entries{"A"},
         0,
         false,
         "",
         "\r\nsmtp.example\r\n\r\n",
         "A\r\n"},
        {"AnyLineEndsAndExtraLines",
         "me@example.com\nsmtp.example\r0701234\r\nfour\nfive",
         "A",
         {},
         {"me@example.com", "smtp.example", "0701234"},
         Entries{"A"},
         0,
         true,
         "",
         "me@example.com\nsmtp.example\r0701234\r\nfour\nfive",
         "A"},
        // The edit past the missing line keeps what it shows; the file is not repaired.
        {"TwoLines",
         "me@example.com\r\nsmtp.example\r\n",
         "A\r\n",
         {"", "", "0709999"},
         {"me@example.com", "smtp.example", std::nullopt},
         Entries{"A"},
         0,
         true,
         "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています",
         "me@example.com\r\nsmtp.example\r\n",
         "A\r\n"},
        {"UnreadableDomainFileStopsTheLoad",
         kMissing,
         kDirectory,
         {},
         {},
         std::nullopt,
         std::nullopt,
         false,
         "ﾌｧｲﾙ tvdomain.ini は開けません",
         kMissing,
         kDirectory},
        {"UnreadableSettingsFileAfterTheList",
         kDirectory,
         "A\r\nB\r\n",
         {},
         {},
         Entries{"A", "B"},
         0,
         false,
         "ﾌｧｲﾙ tvemail.ini は開けません",
         kDirectory,
         "A\r\nB\r\n"},
        {"EmptyDomainFile",
         kStoredSettings,
         "",
         {},
         {"me@example.com", "smtp.example", "0701234"},
         Entries{},
         -1,
         true,
         "",
         kStoredSettings,
         ""},
        {"EmptyEntryInTheMiddle",
         kStoredSettings,
         "A\r\n\r\nC\r\n",
         kStoredTexts,
         {},
         Entries{"A", "", "C"},
         0,
         false,
         "",
         kStoredSettings,
         "A\r\n\r\nC\r\n"},
        {"ShiftJisShownAsUtf8",
         "\x83\x5C@example.com\r\nmail\r\n\x95\xD4\x93\x9A\r\n",
         "A\r\n",
         {},
         {"ソ@example.com", "mail", "返答"},
         Entries{"A"},
         0,
         true,
         "",
         "\x83\x5C@example.com\r\nmail\r\n\x95\xD4\x93\x9A\r\n",
         "A\r\n"},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        Make("tvemail.ini", row.settings);
        Make("tvdomain.ini", row.domains);
        SettingsForm form;
        EXPECT_EQ(Raised([&] { form.Load(row.now); }), row.raised) << row.name;
        const SettingsView view = form.TakeView();
        EXPECT_EQ(view.fields, row.fields) << row.name;
        EXPECT_EQ(view.domains, row.entries) << row.name;
        EXPECT_EQ(view.selected, row.selected) << row.name;
        EXPECT_EQ(view.okEnabled, row.okEnabled) << row.name;
        EXPECT_FALSE(view.question || view.close) << row.name;
        EXPECT_EQ(Read("tvemail.ini"), row.settingsAfter) << row.name;
        EXPECT_EQ(Read("tvdomain.ini"), row.domainsAfter) << row.name;
    }
}

// Bytes a hand edit may leave: 0xED40 is an NEC duplicate of 0xFA5C, 0xFF 0x80 and a lone lead
// byte 0x82 are no Shift-JIS at all; zero bytes, and a value longer than an edit holds.
const std::string kLongNumber(40000, '1');
const std::string kOddSettings =
    "\xED\x40@example.com\r\n\xFF\x80mail\r\n\x82" + "\0"s + kLongNumber + "\r\n";
const std::string kOddDomains = "\xED\x40.example\r\nB\xFF\x80\r\n" + "C\0D\r\n"s;

TEST(SettingsFormTest, Ok) {
    const struct {
        const char* name;
        std::string settings, domains;  // on disk at the load
        // What the edits show after the load, when other than the load's texts: an edit may
        // leave out a zero byte.
        std::function<void(SettingsTexts&)> shown;
        std::function<void(SettingsTexts&)> typed;  // then the user's edits
        int selected;
        std::string raised;
        bool close;
        std::string settingsAfter, domainsAfter;
        std::string gateway;  // the first entry afterwards
    } rows[] = {
        {"NothingEdited", kOddSettings, kOddDomains, nullptr, nullptr, 0, "", true, kOddSettings,
         kOddDomains, "\xED\x40.example"},
        {"ZeroByteCutByTheEdit", kOddSettings, kOddDomains,
         [](SettingsTexts& t) { t[2].resize(t[2].find('\0')); }, nullptr, 0, "", true, kOddSettings,
         kOddDomains, "\xED\x40.example"},
        {"OneFieldEdited", kOddSettings, kOddDomains, nullptr,
         [](SettingsTexts& t) { t[2] = "070"; }, 0, "", true,
         "\xED\x40@example.com\r\n\xFF\x80mail\r\n070\r\n", kOddDomains, "\xED\x40.example"},
        {"LongValueEdited", kOddSettings, kOddDomains, nullptr,
         [](SettingsTexts& t) { t[2] = kLongNumber; }, 0, "", true,
         "\xED\x40@example.com\r\n\xFF\x80mail\r\n" + kLongNumber + "\r\n", kOddDomains,
         "\xED\x40.example"},
        {"OddDomainPromoted", kOddSettings, kOddDomains, nullptr, nullptr, 1, "", true,
         kOddSettings, "B\xFF\x80\r\n\xED\x40.example\r\n" + "C\0D\r\n"s, "B\xFF\x80"},
        {"ThirdOfFivePromoted", kStoredSettings, "A\r\nB\r\nC\r\nD\r\nE\r\n", nullptr, nullptr, 2,
         "", true, kStoredSettings, "C\r\nB\r\nA\r\nD\r\nE\r\n", "C"},
        {"LastOfThreePromoted", kStoredSettings, "A\r\nB\r\nC\r\n", nullptr, nullptr, 2, "", true,
         kStoredSettings, "C\r\nB\r\nA\r\n", "C"},
        {"EmptyEntryPromoted", kStoredSettings, "A\r\n\r\nC\r\n", nullptr, nullptr, 1, "", true,
         kStoredSettings, "\r\nA\r\nC\r\n", ""},
        // Not rewritten: a rewrite would end its lines with CR LF.
        {"FirstDomainWritesOnlyTheSettings", "a\nb\nc", "A\nB", nullptr, nullptr, 0, "", true,
         "a\r\nb\r\nc\r\n", "A\nB", "A"},
        {"EmptyDomainList", kStoredSettings, "", nullptr, nullptr, -1, "", true, kStoredSettings,
         "", ""},
        {"AccentInAddress", kStoredSettings, "A\r\nB\r\n", nullptr,
         [](SettingsTexts& t) { t[0] = "café@example.com"; }, 1,
         "Mail Address に Shift-JIS で書けない文字「é」があります", false, kStoredSettings,
         "A\r\nB\r\n", "A"},
        {"EmojiInServer", kStoredSettings, "A\r\nB\r\n", nullptr,
         [](SettingsTexts& t) { t[1] = "mail\U0001F600"; }, 1,
         "SMTP Server に Shift-JIS で書けない文字「\U0001F600」があります", false, kStoredSettings,
         "A\r\nB\r\n", "A"},
        {"RightToLeftMarkInReplyNumber", kStoredSettings, "A\r\nB\r\n", nullptr,
         [](SettingsTexts& t) { t[2] = "070\u200F"; }, 1,
         "返答先番号 に Shift-JIS で書けない文字「\u200F」があります", false, kStoredSettings,
         "A\r\nB\r\n", "A"},
        // The first refusal in the edits' order, before any command character.
        {"TwoRefusalsFirstOneSaid", kStoredSettings, "A\r\n", nullptr,
         [](SettingsTexts& t) {
             t = {"a b", "é", "é"};
         },
         0, "SMTP Server に Shift-JIS で書けない文字「é」があります", false, kStoredSettings,
         "A\r\n", "A"},
        {"ParametersInAddress", kStoredSettings, "A\r\nB\r\n", nullptr,
         [](SettingsTexts& t) { t[0] = "x@y.example> NOTIFY=NEVER"; }, 1,
         "Mail Address に空白、<、> や制御文字は使えません", false, kStoredSettings, "A\r\nB\r\n",
         "A"},
        {"BlankInServer", kStoredSettings, "A\r\n", nullptr,
         [](SettingsTexts& t) { t[1] = "mail x"; }, 0,
         "SMTP Server に空白、<、> や制御文字は使えません", false, kStoredSettings, "A\r\n", "A"},
        // Stored so, and judged all the same: it would reach the server's commands.
        {"StoredBracketInGateway", kStoredSettings, "A\r\nB<x\r\n", nullptr, nullptr, 1,
         "送信先ドメイン に空白、<、> や制御文字は使えません", false, kStoredSettings,
         "A\r\nB<x\r\n", "A"},
        // The reply number reaches no command.
        {"BlankInReplyNumber", kStoredSettings, "A\r\n", nullptr,
         [](SettingsTexts& t) { t[2] = "070 1234"; }, 0, "", true,
         "me@example.com\r\nsmtp.example\r\n070 1234\r\n", "A\r\n", "A"},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        WriteFileBytes("tvemail.ini", row.settings);
        WriteFileBytes("tvdomain.ini", row.domains);
        SettingsForm form;
        form.Load({});
        SettingsTexts now = Apply(form, form.TakeView(), {}, row.shown);
        if (row.typed) {
            row.typed(now);
        }
        EXPECT_EQ(Raised([&] { form.Ok(now, row.selected); }), row.raised) << row.name;
        const SettingsView view = form.TakeView();
        EXPECT_EQ(view.close, row.close) << row.name;
        EXPECT_FALSE(view.question) << row.name;
        EXPECT_EQ(ReadFileBytes("tvemail.ini"), row.settingsAfter) << row.name;
        EXPECT_EQ(ReadFileBytes("tvdomain.ini"), row.domainsAfter) << row.name;
        EXPECT_EQ(form.FirstDomain(), row.gateway) << row.name;
        if (row.raised.empty()) {
            // What the sending takes is what was written.
            EXPECT_EQ(form.FieldBytes(SettingsField::UserName, now[0]) + "\r\n" +
                          form.FieldBytes(SettingsField::Smtp, now[1]) + "\r\n" +
                          form.FieldBytes(SettingsField::ResNo, now[2]) + "\r\n",
                      row.settingsAfter)
                << row.name;
        }
    }
}

TEST(SettingsFormTest, FailedDomainWriteSkipsTheSettingsAndStillCloses) {
    TempWorkingDir dir;
    WriteFileBytes("tvemail.ini", kStoredSettings);
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\n");
    SettingsForm form;
    form.Load({});
    Apply(form, form.TakeView(), {});
    std::filesystem::remove("tvdomain.ini");
    std::filesystem::create_directory("tvdomain.ini");
    // Not read, so not seen as changed: the save meets its own error.
    EXPECT_EQ(Raised([&] { form.Ok(kStoredTexts, 1); }), "ﾌｧｲﾙ tvdomain.ini を作成できません");
    const SettingsView view = form.TakeView();
    EXPECT_TRUE(view.close);
    // Shown swapped, as the list now is.
    EXPECT_EQ(view.domains, (Entries{"B", "A"}));
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kStoredSettings);
    EXPECT_TRUE(std::filesystem::is_directory("tvdomain.ini"));
}

TEST(SettingsFormTest, AFileChangedOnDiskIsAskedAbout) {
    const std::string question =
        " は、この画面を開いた後にほかの Tarvelo などで変更されています。\n\n"
        "読み込む: その変更を読み込みます。ここで入力した内容は消えます。\n"
        "上書き: ここで入力した内容を保存します。その変更は消えます。";
    const char* kOther = "other@example.com\r\nrelay.example\r\n\r\n";
    const struct {
        const char* name;
        std::optional<std::string> settingsChange, domainsChange;  // saved by another
        int selected;
        std::string asked;  // the files named, empty for no question
        ChangedAnswer answer;
        bool close;
        Fields fields;  // what the answer sets in the edits
        std::string settingsAfter, domainsAfter;
    } rows[] = {
        {"NothingChanged",
         {},
         {},
         1,
         "",
         ChangedAnswer::Cancel,
         true,
         {},
         "typed\r\nsmtp\r\n\r\n",
         "B\r\nA\r\n"},
        {"SameBytesSavedAgain",
         kStoredSettings,
         {},
         0,
         "",
         ChangedAnswer::Cancel,
         true,
         {},
         "typed\r\nsmtp\r\n\r\n",
         "A\r\nB\r\n"},
        {"SettingsLoaded",
         kOther,
         {},
         0,
         "tvemail.ini",
         ChangedAnswer::Load,
         false,
         {"other@example.com", "relay.example", std::nullopt},
         kOther,
         "A\r\nB\r\n"},
        {"SettingsOverwritten",
         kOther,
         {},
         0,
         "tvemail.ini",
         ChangedAnswer::Overwrite,
         true,
         {},
         "typed\r\nsmtp\r\n\r\n",
         "A\r\nB\r\n"},
        {"SettingsCancelled",
         kOther,
         {},
         0,
         "tvemail.ini",
         ChangedAnswer::Cancel,
         false,
         {},
         kOther,
         "A\r\nB\r\n"},
        // The domain file is written only by a promotion.
        {"DomainsChangedFirstKept",
         {},
         "X\r\n",
         0,
         "",
         ChangedAnswer::Cancel,
         true,
         {},
         "typed\r\nsmtp\r\n\r\n",
         "X\r\n"},
        {"DomainsChangedAndPromoted",
         {},
         "X\r\nY\r\n",
         1,
         "tvdomain.ini",
         ChangedAnswer::Overwrite,
         true,
         {},
         "typed\r\nsmtp\r\n\r\n",
         "B\r\nA\r\n"},
        {"BothChanged",
         kOther,
         "X\r\nY\r\n",
         1,
         "tvemail.ini、tvdomain.ini",
         ChangedAnswer::Cancel,
         false,
         {},
         kOther,
         "X\r\nY\r\n"},
        {"GoneSinceTheLoad",
         std::string(),
         {},
         0,
         "tvemail.ini",
         ChangedAnswer::Overwrite,
         true,
         {},
         "typed\r\nsmtp\r\n\r\n",
         "A\r\nB\r\n"},
    };
    for (const auto& row : rows) {
        TempWorkingDir dir;
        WriteFileBytes("tvemail.ini", kStoredSettings);
        WriteFileBytes("tvdomain.ini", "A\r\nB\r\n");
        SettingsForm form;
        form.Load({});
        Apply(form, form.TakeView(), {});
        if (row.settingsChange) {
            row.settingsChange->empty() ? void(std::filesystem::remove("tvemail.ini"))
                                        : WriteFileBytes("tvemail.ini", *row.settingsChange);
        }
        if (row.domainsChange) {
            WriteFileBytes("tvdomain.ini", *row.domainsChange);
        }
        const SettingsTexts typed{"typed", "smtp", ""};
        form.Ok(typed, row.selected);
        SettingsView view = form.TakeView();
        if (row.asked.empty()) {
            EXPECT_FALSE(view.question) << row.name;
        } else {
            EXPECT_EQ(view.question, "ﾌｧｲﾙ " + row.asked + question) << row.name;
            EXPECT_FALSE(view.close) << row.name;
            form.Answer(row.answer);
            view = form.TakeView();
            EXPECT_EQ(view.fields, row.fields) << row.name;
        }
        EXPECT_EQ(view.close, row.close) << row.name;
        EXPECT_EQ(ReadFileBytes("tvemail.ini"), row.settingsAfter) << row.name;
        EXPECT_EQ(ReadFileBytes("tvdomain.ini"), row.domainsAfter) << row.name;
    }
}

TEST(SettingsFormTest, OkIsEnabledByAnyChangeAndStaysSo) {
    TempWorkingDir dir;
    WriteFileBytes("tvemail.ini", "\r\n\r\n\r\n");
    SettingsForm form;
    form.Load({});
    EXPECT_FALSE(form.TakeView().okEnabled);
    // A later load that changes an edit enables it for good.
    WriteFileBytes("tvemail.ini", "\r\nsmtp.example\r\n\r\n");
    form.Load({});
    EXPECT_TRUE(form.TakeView().okEnabled);
    WriteFileBytes("tvemail.ini", "\r\n\r\n\r\n");
    form.Load({"", "smtp.example", ""});
    EXPECT_TRUE(form.TakeView().okEnabled);

    SettingsForm typedInto;
    typedInto.Load({});
    EXPECT_FALSE(typedInto.TakeView().okEnabled);
    EXPECT_TRUE(typedInto.Edited());
    EXPECT_TRUE(typedInto.TakeView().okEnabled);
}

// What a dialog holds for its controls until they are built: each part as the last view that
// set it left it.
TEST(SettingsFormTest, ViewsLaidOverWhatIsHeld) {
    const struct {
        const char* name;
        SettingsView held, view, after;
    } rows[] = {
        {"FirstLoad",
         {},
         {Entries{"A", "B"}, 0, {"a", std::nullopt, "c"}, true, std::nullopt, false},
         {Entries{"A", "B"}, 0, {"a", std::nullopt, "c"}, true, std::nullopt, false}},
        {"AViewWithoutTheListKeepsIt",
         {Entries{"A"}, 0, {"a", "b", ""}, true, std::nullopt, false},
         {std::nullopt, std::nullopt, {std::nullopt, "x", std::nullopt}, true, std::nullopt, false},
         {Entries{"A"}, 0, {"a", "x", ""}, true, std::nullopt, false}},
        {"AnEmptiedListReplacesIt",
         {Entries{"A", "B"}, 1, {}, true, std::nullopt, false},
         {Entries{}, -1, {}, false, std::nullopt, false},
         {Entries{}, -1, {}, false, std::nullopt, false}},
        {"QuestionAndCloseAreNotHeld",
         {},
         {std::nullopt, std::nullopt, {}, true, "?", true},
         {std::nullopt, std::nullopt, {}, true, std::nullopt, false}},
    };
    for (const auto& row : rows) {
        SettingsView held = row.held;
        LayOver(held, row.view);
        EXPECT_EQ(held.domains, row.after.domains) << row.name;
        EXPECT_EQ(held.selected, row.after.selected) << row.name;
        EXPECT_EQ(held.fields, row.after.fields) << row.name;
        EXPECT_EQ(held.okEnabled, row.after.okEnabled) << row.name;
        EXPECT_EQ(held.question, row.after.question) << row.name;
        EXPECT_EQ(held.close, row.after.close) << row.name;
    }
}

TEST(SettingsFormTest, TheDomainEditorSeesTheChoiceFirstAndTheListIsReadAgain) {
    TempWorkingDir dir;
    WriteFileBytes("tvemail.ini", kStoredSettings);
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\nC\r\n");
    SettingsForm form;
    form.Load({});
    Apply(form, form.TakeView(), {});
    form.OpenDomainEditor(1);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "B\r\nA\r\nC\r\n");
    WriteFileBytes("tvdomain.ini", "B\r\nC\r\nnew\r\n");  // as the editor leaves it
    form.DomainEditorClosed();
    const SettingsView view = form.TakeView();
    EXPECT_EQ(view.domains, (Entries{"B", "C", "new"}));
    EXPECT_EQ(view.selected, 0);
    // What was typed meanwhile stays in the edits, and OK stays enabled.
    EXPECT_EQ(view.fields, Fields{});
    EXPECT_TRUE(view.okEnabled);
    EXPECT_EQ(form.FieldBytes(SettingsField::Smtp, "typed"), "typed");
    EXPECT_EQ(form.FirstDomain(), "B");
    // A failed promotion keeps the editor shut: the caller goes no further.
    std::filesystem::remove("tvdomain.ini");
    std::filesystem::create_directory("tvdomain.ini");
    EXPECT_EQ(Raised([&] { form.OpenDomainEditor(2); }), "ﾌｧｲﾙ tvdomain.ini を作成できません");
}

}  // namespace
}  // namespace tarvelo
