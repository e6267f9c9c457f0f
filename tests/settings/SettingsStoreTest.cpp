// The settings files as a store: what the window's load gives and writes for every kind of file
// it may meet, the read-only load of a program without a window, and the promotion.
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>

#include "ChildProcess.h"
#include "TempDir.h"
#include "base/Error.h"
#include "settings/SettingsFiles.h"

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::Report;
using testing::RunInChild;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

constexpr const char* kKept = "keep\r\nthese\r\nbytes\r\n";

// One kind of file found under a settings file's name.
struct FoundFile {
    const char* name;
    void (*make)(const char* fileName);
    bool keptAsItWas;  // false: a file that may be read; true: one that must be left alone
};

void MakeNothing(const char*) {}
void MakeKeptFile(const char* fileName) {
    WriteFileBytes(fileName, kKept);
}
void MakeWriteOnly(const char* fileName) {
    MakeKeptFile(fileName);
    ::chmod(fileName, 0200);
}
void MakeNoAccess(const char* fileName) {
    MakeKeptFile(fileName);
    ::chmod(fileName, 0000);
}
void MakeFifo(const char* fileName) {
    ::mkfifo(fileName, 0666);
}
void MakeLinkToZero(const char* fileName) {
    std::filesystem::create_symlink("/dev/zero", fileName);
}
void MakeDirectory(const char* fileName) {
    std::filesystem::create_directory(fileName);
}
void MakeOverLimit(const char* fileName) {
    WriteFileBytes(fileName, std::string(kMaxListFileBytes + 1, 'x'));
}
void MakeAtLimit(const char* fileName) {
    WriteFileBytes(fileName, std::string(kMaxListFileBytes, 'x'));
}

const FoundFile kFoundFiles[] = {
    {"Missing", MakeNothing, false},
    {"Readable", MakeKeptFile, false},
    {"WriteOnly", MakeWriteOnly, true},
    {"NoAccess", MakeNoAccess, true},
    {"Fifo", MakeFifo, true},
    {"LinkToDevZero", MakeLinkToZero, true},
    {"Directory", MakeDirectory, true},
    {"OverOneMiB", MakeOverLimit, true},
    {"ExactlyOneMiB", MakeAtLimit, false},
};

struct StoreFile {
    const char* fileName;
    LineList (*load)(FileContent&);
    LineList defaults;
};

const StoreFile kStoreFiles[] = {
    {"tvdomain.ini", LoadOrCreateDomains, LineList(kDefaultDomains.begin(), kDefaultDomains.end())},
    {"tvemail.ini", LoadOrCreateSettingsLines, {"tarvelo@example.com", "mail", ""}},
};

void PrintTo(const FoundFile& row, std::ostream* out) {
    *out << row.name;
}
void PrintTo(const StoreFile& row, std::ostream* out) {
    *out << row.fileName;
}

class LoadOrCreateTest : public ::testing::TestWithParam<std::tuple<FoundFile, StoreFile>> {};

// Only a file that does not exist gets the defaults; anything else that cannot be read as a
// small text file gives the open error at once and stays exactly as it was.
TEST_P(LoadOrCreateTest, OnlyAMissingFileGetsDefaults) {
    const auto& [found, store] = GetParam();
    TempWorkingDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    found.make(store.fileName);
    const auto typeBefore = std::filesystem::symlink_status(store.fileName).type();
    const std::string before = typeBefore == std::filesystem::file_type::regular
                                   ? ReadFileBytes(store.fileName)
                                   : std::string();
    const Report report = RunInChild(false, [&store](Report& out) {
        if (const std::string failure = testing::BecomeOrdinaryUser(); !failure.empty()) {
            out["skip"] = failure;
            return;
        }
        try {
            FileContent content;
            out["lines"] = FormatLines(store.load(content));
            out["error"] = "none";
        } catch (const Error& error) {
            out["error"] = error.what();
        }
    });
    if (report.count("skip") != 0) {
        GTEST_SKIP() << report.at("skip");
    }
    ASSERT_EQ(report.count("crashed"), 0U) << "the load hung or crashed";
    if (found.keptAsItWas) {
        EXPECT_EQ(report.at("error"), "ﾌｧｲﾙ " + std::string(store.fileName) + " は開けません");
        EXPECT_EQ(std::filesystem::symlink_status(store.fileName).type(), typeBefore);
        if (typeBefore == std::filesystem::file_type::regular) {
            EXPECT_TRUE(ReadFileBytes(store.fileName) == before) << "rewritten";
        }
        return;
    }
    ASSERT_EQ(report.at("error"), "none");
    if (found.make == MakeNothing) {
        EXPECT_EQ(report.at("lines"), FormatLines(store.defaults));
        EXPECT_EQ(ReadFileBytes(store.fileName), FormatLines(store.defaults));
    } else {
        EXPECT_EQ(report.at("lines"), FormatLines(ParseLines(before)));
        EXPECT_TRUE(ReadFileBytes(store.fileName) == before) << "rewritten";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadOrCreateTest,
    ::testing::Combine(::testing::ValuesIn(kFoundFiles), ::testing::ValuesIn(kStoreFiles)),
    [](const auto& param) {
        return std::string(std::get<0>(param.param).name) + "_" +
               (std::get<1>(param.param).load == LoadOrCreateDomains ? "Domains" : "Settings");
    });

struct ReadCase {
    const char* name;
    const char* domains;   // nullptr: no such file
    const char* settings;  // nullptr: no such file
    const char* error;     // nullptr: read
};

void PrintTo(const ReadCase& row, std::ostream* out) {
    *out << row.name;
}

const ReadCase kReadCases[] = {
    {"BothFiles", "B\r\nA\r\n", "me@example.com\nsmtp.example\n070", nullptr},
    {"NoDomainFile", nullptr, "me@example.com\r\nmail\r\n\r\n", "ﾌｧｲﾙ tvdomain.ini は開けません"},
    {"NoSettingsFile", "A\r\n", nullptr, "ﾌｧｲﾙ tvemail.ini は開けません"},
    {"TwoSettingsLines", "A\r\n", "me@example.com\r\nmail\r\n", "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています"},
    {"GatewayWithASpace", "B NOTIFY=SUCCESS\r\n", "me@example.com\r\nsmtp.example\r\n070\r\n",
     "送信先ドメイン に空白、<、> や制御文字は使えません"},
};

class ReadSettingsTest : public ::testing::TestWithParam<ReadCase> {};

// The sending without a window reads by the same rules and never creates or writes a file.
TEST_P(ReadSettingsTest, ReadsBothFilesAndWritesNothing) {
    const ReadCase& row = GetParam();
    TempWorkingDir dir;
    if (row.domains != nullptr) {
        WriteFileBytes(kDomainFileName, row.domains);
    }
    if (row.settings != nullptr) {
        WriteFileBytes(kSettingsFileName, row.settings);
    }
    try {
        const Settings settings = ReadSettings();
        ASSERT_EQ(row.error, nullptr);
        EXPECT_EQ(settings.userName, "me@example.com");
        EXPECT_EQ(settings.smtp, "smtp.example");
        EXPECT_EQ(settings.resNo, "070");
        EXPECT_EQ(settings.domains, (LineList{"B", "A"}));
    } catch (const Error& error) {
        ASSERT_NE(row.error, nullptr) << error.what();
        EXPECT_STREQ(error.what(), row.error);
    }
    EXPECT_EQ(std::filesystem::exists(kDomainFileName), row.domains != nullptr);
    EXPECT_EQ(std::filesystem::exists(kSettingsFileName), row.settings != nullptr);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadSettingsTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(CheckCommandSetting, RefusesWhatWouldChangeACommand) {
    const std::tuple<const char*, CommandSetting, std::string, bool> rows[] = {
        {"Parameters", CommandSetting::MailAddress, "x@y.example> NOTIFY=NEVER", true},
        {"VerticalTab", CommandSetting::MailAddress, "x@y\x0B.example", true},
        {"ShiftJis", CommandSetting::GatewayDomain, "\x83\x5C\xED\x40.example", false},
        {"ServerAndPort", CommandSetting::SmtpServer, "[::1]:587", false},
    };
    for (const auto& [name, setting, value, refused] : rows) {
        if (refused) {
            EXPECT_THROW(CheckCommandSetting(setting, value), Error) << name;
        } else {
            EXPECT_NO_THROW(CheckCommandSetting(setting, value)) << name;
        }
    }
}

TEST(ChangedOnDisk, IsAnotherInstancesSaveNotOneOfTheSameBytes) {
    const std::tuple<const char*, FileContent, const char*, bool> rows[] = {
        {"SameBytes", "a\r\n", "a\r\n", false},
        {"OtherBytes", "a\r\n", "a\n", true},
        {"Appeared", std::nullopt, "a\r\n", true},
    };
    for (const auto& [name, loaded, now, changed] : rows) {
        TempWorkingDir dir;
        if (now != nullptr) {
            WriteFileBytes(kSettingsFileName, now);
        }
        EXPECT_EQ(ChangedOnDisk(kSettingsFileName, loaded), changed) << name;
    }
}

struct PromoteCase {
    const char* name;
    std::size_t selected;
    LineList after;
    bool written;
};

void PrintTo(const PromoteCase& row, std::ostream* out) {
    *out << row.name;
}

// Entries as a hand edit may leave them: an NEC duplicate code (0xED40) and bytes that are not
// Shift-JIS at all go back to the file as they came.
const LineList kDomains{"A", "\xED\x40", "C", "\xFF\x80", "E"};

const PromoteCase kPromoteCases[] = {
    {"ThirdSwapsWithFirst", 2, {"C", "\xED\x40", "A", "\xFF\x80", "E"}, true},
    {"LastSwapsWithFirst", 4, {"E", "\xED\x40", "C", "\xFF\x80", "A"}, true},
    {"OddBytesKeptWhole", 3, {"\xFF\x80", "\xED\x40", "C", "A", "E"}, true},
    {"FirstChangesNothing", 0, kDomains, false},
    {"PastTheEndChangesNothing", 5, kDomains, false},
};

class PromoteDomainTest : public ::testing::TestWithParam<PromoteCase> {};

TEST_P(PromoteDomainTest, SwapsIntoFirstPlaceAndWritesTheList) {
    const PromoteCase& row = GetParam();
    TempWorkingDir dir;
    LineList domains = kDomains;
    PromoteDomain(domains, row.selected);
    EXPECT_EQ(domains, row.after);
    EXPECT_EQ(std::filesystem::exists(kDomainFileName), row.written);
    if (row.written) {
        EXPECT_EQ(ReadFileBytes(kDomainFileName), FormatLines(row.after));
    }
}

INSTANTIATE_TEST_SUITE_P(Picks, PromoteDomainTest, ::testing::ValuesIn(kPromoteCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct PlaceholderCase {
    const char* name;
    const char* sender;
    const char* domain;
    const char* refusal;  // nullptr: the sending may go ahead
    friend void PrintTo(const PlaceholderCase& row, std::ostream* out) { *out << row.name; }
};

const PlaceholderCase kPlaceholderCases[] = {
    {"DomainOnly", "me@example.jp", "tokai.phs.example",
     "送信先ドメインがまだ仮のままです。環境設定(P)で設定してください"},
    {"DomainAndSender", "tarvelo@example.com", "chugoku.phs.example",
     "送信先ドメインと Mail Address がまだ仮のままです。環境設定(P)で設定してください"},
    {"SenderOnly", "tarvelo@example.com", "gw.phs.test", nullptr},
    {"RealDomain", "me@example.jp", "central.phs.example.jp", nullptr},
};

class PlaceholderTest : public ::testing::TestWithParam<PlaceholderCase> {};

TEST_P(PlaceholderTest, RefusesOnlyAPlaceholderGateway) {
    const PlaceholderCase& row = GetParam();
    try {
        RefusePlaceholders(row.sender, row.domain);
        EXPECT_EQ(row.refusal, nullptr);
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), row.refusal);
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, PlaceholderTest, ::testing::ValuesIn(kPlaceholderCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tarvelo
