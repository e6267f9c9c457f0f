#include "cli/SendCommand.h"

#include <gtest/gtest.h>
#include <sysexits.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli/SendMail.h"
#include "cli/SettingsFolder.h"
#include "platform/ShiftJis.h"
#include "settings/MenuFolder.h"

namespace tarvelo {
namespace {

// Scripts read these as the mail tools' statuses; the numbers are written out in the program.
// Those of a sending are checked with StatusOf below.
static_assert(static_cast<int>(SendStatus::Usage) == EX_USAGE);
static_assert(static_cast<int>(SendStatus::DataError) == EX_DATAERR);
static_assert(static_cast<int>(SendStatus::IoError) == EX_IOERR);
static_assert(static_cast<int>(SendStatus::Config) == EX_CONFIG);

using Action = SendCommand::Action;

struct ParseCase {
    const char* name;
    std::vector<std::string> arguments;
    Action action;
    SendOptions options;  // compared for Send only
    std::string error;    // compared for UsageError only
    friend void PrintTo(const ParseCase& row, std::ostream* out) { *out << row.name; }
};

class ParseSendArgumentsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSendArgumentsTest, Parses) {
    const ParseCase& row = GetParam();
    const SendCommand command = ParseSendArguments(row.arguments);
    ASSERT_EQ(command.action, row.action) << command.error;
    if (row.action == Action::UsageError) {
        EXPECT_EQ(command.error, row.error);
    }
    if (row.action != Action::Send) {
        return;
    }
    const SendOptions& got = command.options;
    EXPECT_EQ(got.number, row.options.number);
    EXPECT_EQ(got.message, row.options.message);
    EXPECT_EQ(got.settingsDir, row.options.settingsDir);
    EXPECT_EQ(got.dryRun, row.options.dryRun);
    EXPECT_EQ(got.columns, row.options.columns);
    EXPECT_EQ(got.testMode, row.options.testMode);
    EXPECT_EQ(got.verbose, row.options.verbose);
    EXPECT_EQ(got.log, row.options.log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseSendArgumentsTest,
    ::testing::Values(
        ParseCase{"NumberAndMessage", {"0701", "ア"}, Action::Send, {"0701", "ア"}, ""},
        ParseCase{"NumberAloneReadsInput", {"0701"}, Action::Send, {"0701", std::nullopt}, ""},
        ParseCase{"EmptyMessageIsAMessage", {"0701", ""}, Action::Send, {"0701", ""}, ""},
        ParseCase{"EveryOption",
                  {"--dry-run", "--columns", "5", "--test", "--settings", "/etc/tv", "--verbose",
                   "--log", "0701", "x"},
                  Action::Send,
                  {"0701", "x", "/etc/tv", true, 5, true, true, true},
                  ""},
        ParseCase{"OptionsAfterOperands",
                  {"0701", "x", "--columns=15", "--test"},
                  Action::Send,
                  {.number = "0701", .message = "x", .columns = 15, .testMode = true},
                  ""},
        ParseCase{"DashesEndOptions",
                  {"--", "0701", "-5 degrees"},
                  Action::Send,
                  {"0701", "-5 degrees"},
                  ""},
        ParseCase{"Help", {"0701", "--help"}, Action::Help, {}, ""},
        ParseCase{"Version", {"--version"}, Action::Version, {}, ""},
        ParseCase{"ShortOptions",
                  {"-nv", "0701", "x"},
                  Action::Send,
                  {.number = "0701", .message = "x", .dryRun = true, .verbose = true},
                  ""},
        ParseCase{"UnknownShortOptionOfSeveralBytes",
                  {"07012345678", "-テスト"},
                  Action::UsageError,
                  {},
                  "unknown option '-テスト'"},
        ParseCase{"NoNumber", {}, Action::UsageError, {}, "the handset NUMBER is missing"},
        ParseCase{"ThreeOperands",
                  {"0701", "hello", "world"},
                  Action::UsageError,
                  {},
                  "too many arguments, from 'world' on (quote a message of several words)"},
        ParseCase{"UnknownLongOption",
                  {"--bogus", "0701"},
                  Action::UsageError,
                  {},
                  "unknown option '--bogus'"},
        ParseCase{"ValueMissing",
                  {"0701", "--columns"},
                  Action::UsageError,
                  {},
                  "option '--columns' needs a value"},
        ParseCase{"ValueGivenToAFlag",
                  {"--test=yes", "0701"},
                  Action::UsageError,
                  {},
                  "option '--test' takes no value"},
        ParseCase{"ColumnsBelowFive",
                  {"--columns", "4", "0701"},
                  Action::UsageError,
                  {},
                  "--columns takes a number from 5 to 15, not '4'"},
        ParseCase{"ColumnsNotANumber",
                  {"--columns", "12x", "0701"},
                  Action::UsageError,
                  {},
                  "--columns takes a number from 5 to 15, not '12x'"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ParseSendArguments, StartsAfreshAtEveryCall) {
    ASSERT_EQ(ParseSendArguments({"--bogus"}).action, Action::UsageError);
    const SendCommand again = ParseSendArguments({"--dry-run", "0701"});
    EXPECT_EQ(again.action, Action::Send);
    EXPECT_TRUE(again.options.dryRun);
}

TEST(MessageFromInput, RemovesOneLineBreakAtTheEnd) {
    EXPECT_EQ(MessageFromInput("ア\n"), "ア");
    EXPECT_EQ(MessageFromInput("ア\r\n"), "ア");
    EXPECT_EQ(MessageFromInput("ア\n\n"), "ア\n");
    EXPECT_EQ(MessageFromInput("ア\nイ"), "ア\nイ");
    EXPECT_EQ(MessageFromInput("\n"), "");
    EXPECT_EQ(MessageFromInput(""), "");
}

TEST(MessageFromInput, TakesOutZeroBytes) {
    using namespace std::string_literals;
    EXPECT_EQ(MessageFromInput("ア\0イ\n\0"s), "アイ");
}

Composition ComposeUtf8(std::string_view message, std::string_view resNo, bool testMode = false) {
    return Compose({.message = Utf8TextToShiftJis(message),
                    .phsNo = "07012345678",
                    .resNo = resNo,
                    .testMode = testMode});
}

struct DryRunCase {
    const char* name;
    std::string message;  // UTF-8
    bool testMode;
    int columns;
    std::string text;  // UTF-8
    friend void PrintTo(const DryRunCase& row, std::ostream* out) { *out << row.name; }
};

class DryRunTextTest : public ::testing::TestWithParam<DryRunCase> {};

TEST_P(DryRunTextTest, PreviewThenMailImage) {
    const DryRunCase& row = GetParam();
    EXPECT_EQ(DryRunText({ComposeUtf8(row.message, "0311112222", row.testMode)}, row.columns),
              row.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, DryRunTextTest,
                         ::testing::Values(DryRunCase{"FiveColumns", "がっこうへいきます", false, 5,
                                                      "カ゛ツコウ\n"
                                                      "ヘイキマス\n"
                                                      "\n"
                                                      "PHSNO=07012345678\n"
                                                      "RESNO=0311112222\n"
                                                      "MSG=カ゛ツコウヘイキマス\n"},
                                           DryRunCase{"FifteenColumns", "がっこうへいきます", false,
                                                      15,
                                                      "カ゛ツコウヘイキマス\n"
                                                      "\n"
                                                      "PHSNO=07012345678\n"
                                                      "RESNO=0311112222\n"
                                                      "MSG=カ゛ツコウヘイキマス\n"},
                                           DryRunCase{"TestModeLines", "Door\nopen", true, 5,
                                                      "Door\n"
                                                      "open\n"
                                                      "\n"
                                                      "PHSNO=07012345678\n"
                                                      "RESNO=0311112222\n"
                                                      "MSG=Door\n"
                                                      "open\n"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TerminalLine, ControlsCannotReachTheTerminal) {
    const struct {
        std::string sjis;
        std::string shown;
    } rows[] = {
        {" S:MAIL FROM:<a@b>", " S:MAIL FROM:<a@b>"},
        // A body line of the mail: its escape sequences stay readable, not acted on.
        {"\x1B$B%\\\x1B(J", "^[$B%\\^[(J"},
        {" R:550 \x1B]0;owned\x07\x7F", " R:550 ^[]0;owned^G^?"},
        {"\x82\xA0\x09", "\xE3\x81\x82^I"},  // あ and a tab
        {"\x80", "\xEF\xBF\xBD"},            // no character in code page 932
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TerminalLine(row.sjis), row.shown) << row.shown;
    }
    // A reply quoted in an error arrives as UTF-8.
    EXPECT_EQ(TerminalText("550 \x1B[2J\xE3\x81\x82"), "550 ^[[2J\xE3\x81\x82");
}

TEST(RefusalTexts, TheWindowsTextsInItsOrder) {
    using Texts = std::vector<std::string_view>;
    EXPECT_EQ(RefusalTexts(ComposeUtf8("ア", "")), Texts{});
    EXPECT_EQ(RefusalTexts(ComposeUtf8("漢字", "")), Texts{"不正な文字がふくまれています"});
    EXPECT_EQ(RefusalTexts(ComposeUtf8("", "")), Texts{"メッセージがありません"});
    EXPECT_EQ(RefusalTexts(ComposeUtf8(std::string(70, 'A'), "")), Texts{"６９文字を超えています"});
    EXPECT_EQ(RefusalTexts(Compose({.message = "", .phsNo = "", .resNo = ""})),
              (Texts{"メッセージがありません", "PHS Noがありません"}));
}

TEST(RefusalLines, MessageOnceThenEachNumber) {
    const auto to = [](std::string_view number) {
        return Compose({.message = "", .phsNo = number, .resNo = ""});
    };
    EXPECT_EQ(
        RefusalLines({"0701", "", "x\xFF"}, {to("0701"), to(""), to("x\xFF")}),
        (std::vector<std::string>{"メッセージがありません", "(empty number): PHS Noがありません",
                                  "x\xFF: 不正な文字がふくまれています"}));
}

TEST(DryRunText, PreviewOnceMailImageForEachNumber) {
    const auto to = [](std::string_view number) {
        return Compose({.message = "\x83\x41", .phsNo = number, .resNo = ""});
    };
    EXPECT_EQ(DryRunText({to("0701"), to("0702")}, 5),
              "ア\n\nPHSNO=0701\nMSG=ア\n\nPHSNO=0702\nMSG=ア\n");
}

TEST(SplitNumbers, CommaSeparatedList) {
    using Numbers = std::vector<std::string>;
    EXPECT_EQ(SplitNumbers("07012345678"), Numbers{"07012345678"});
    EXPECT_EQ(SplitNumbers(" 0701 , 0702 "), (Numbers{"0701", "0702"}));
    EXPECT_EQ(SplitNumbers("0701,"), (Numbers{"0701", ""}));
    EXPECT_EQ(SplitNumbers(""), Numbers{""});
}

TEST(WorstStatus, FailureThatWaitingWillNotMendWins) {
    using enum SendStatus;
    EXPECT_EQ(WorstStatus({Sent, Sent}), Sent);
    EXPECT_EQ(WorstStatus({Sent, TempFail, Sent}), TempFail);
    EXPECT_EQ(WorstStatus({TempFail, Unavailable, TempFail}), Unavailable);
    EXPECT_EQ(WorstStatus({Protocol, Unavailable}), Protocol);
}

TEST(ChooseSettingsFolder, CurrentThenMenusFolder) {
    const struct {
        const char* name;
        std::optional<std::string> given;
        std::optional<std::string> menu;
        std::vector<std::string> holding;
        std::optional<std::string> folder;
        std::vector<std::string> tried;
    } rows[] = {
        {"Current", {}, "/m", {"/c", "/m"}, "/c", {"/c"}},
        {"Menus", {}, "/m", {"/m"}, "/m", {"/c", "/m"}},
        {"Neither", {}, "/m", {}, {}, {"/c", "/m"}},
        {"GivenHoldsNothing", "/g", "/m", {"/c", "/m"}, "/g", {"/g"}},
    };
    for (const auto& row : rows) {
        const SettingsFolderChoice choice =
            ChooseSettingsFolder(row.given, "/c", row.menu, [&](const std::string& folder) {
                return std::ranges::find(row.holding, folder) != row.holding.end();
            });
        EXPECT_EQ(choice.folder, row.folder) << row.name;
        EXPECT_EQ(choice.tried, row.tried) << row.name;
    }
    EXPECT_EQ(NoSettingsText({{}, {"/c", "/m"}}), "no tvemail.ini or tvdomain.ini in /c or /m");
}

TEST(MenuFolder, TheLaunchersRule) {
    EXPECT_EQ(MenuFolder("/x", "/h"), "/x/tarvelo");
    EXPECT_EQ(MenuFolder("relative", "/h"), "/h/.local/share/tarvelo");
    EXPECT_EQ(MenuFolder(nullptr, "/h"), "/h/.local/share/tarvelo");
    EXPECT_EQ(MenuFolder(nullptr, ""), std::nullopt);
}

// What a script is told of each end: try again (75), give up (69), fix something first.
TEST(StatusOf, EachEndHasItsExitStatus) {
    struct Row {
        SendEndKind kind;
        ConnectFailure connect;
        int status;
    };
    using enum SendEndKind;
    using enum ConnectFailure;
    const Row rows[] = {
        {Delivered, None, 0},
        {Authentication, None, EX_NOPERM},
        {Tls, None, EX_UNAVAILABLE},
        {RefusedPermanent, None, EX_UNAVAILABLE},
        {RefusedTemporary, None, EX_TEMPFAIL},
        {NoConnection, Refused, EX_TEMPFAIL},
        {NoConnection, Unreachable, EX_TEMPFAIL},
        {NoConnection, TimedOut, EX_TEMPFAIL},
        {NoConnection, ResolverTemporary, EX_TEMPFAIL},
        {NoConnection, NameNotFound, EX_NOHOST},
        {Overdue, None, EX_TEMPFAIL},
        {Closed, None, EX_TEMPFAIL},
        {ReadFailed, None, EX_TEMPFAIL},
        {SendFailed, None, EX_TEMPFAIL},
        {NotANumber, None, EX_PROTOCOL},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(
            static_cast<int>(StatusOf({.kind = row.kind, .connect = row.connect, .detail = ""})),
            row.status)
            << static_cast<int>(row.kind) << "/" << static_cast<int>(row.connect);
    }
}

}  // namespace
}  // namespace tarvelo
