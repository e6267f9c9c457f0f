#include "mail/MailAssembly.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <locale>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "TempDir.h"
#include "base/Error.h"
#include "platform/ShiftJis.h"

// glibc 2.36's newlocale does not free the search list that it builds from LOCPATH with
// argz_add_sep; the Japanese locale test sets LOCPATH when it has to generate that locale.
// Unanchored, the pattern matches the frame both as argz_add_sep (libc without debug symbols)
// and as __argz_add_sep (with libc6-dbg installed).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:argz_add_sep\n";
}

namespace tarvelo {
namespace {

using testing::ReadFileBytes;
using testing::TempWorkingDir;
using testing::WriteFileBytes;

// Sunday 6 December 2026, 07:02:45 UTC, which is 16:02:45 in Japan.
constexpr std::time_t kSunday = 1796540565;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The zone in force for one test; the C library reads TZ again on the way in and out.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) {
        tz_.emplace("TZ", zone);
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
    ~ScopedTimeZone() {
        tz_.reset();
        tzset();
    }

private:
    std::optional<ScopedEnv> tz_;
};

struct DateCase {
    const char* name;
    const char* zone;
    const char* expected;
    friend void PrintTo(const DateCase& row, std::ostream* out) { *out << row.name; }
};

class MailDateTextZoneTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(MailDateTextZoneTest, WritesJapanTimeWhateverTheZone) {
    const std::string zone = GetParam().zone;
    if (zone.find('/') != std::string::npos &&
        !std::filesystem::exists("/usr/share/zoneinfo/" + zone)) {
        GTEST_SKIP() << "time zone data for " << zone << " is not installed";
    }
    const ScopedTimeZone timeZone(zone);
    EXPECT_EQ(MailDateText(kSunday), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, MailDateTextZoneTest,
    ::testing::Values(DateCase{"Utc", "UTC0", "Sun, 06 Dec 2026 16:02:45 +0900"},
                      DateCase{"Tokyo", "Asia/Tokyo", "Sun, 06 Dec 2026 16:02:45 +0900"},
                      DateCase{"PosixJapan", "JST-9", "Sun, 06 Dec 2026 16:02:45 +0900"},
                      DateCase{"NewYork", "America/New_York", "Sun, 06 Dec 2026 16:02:45 +0900"},
                      DateCase{"DayBefore", "HST10", "Sun, 06 Dec 2026 16:02:45 +0900"}),
    [](const auto& row) { return std::string(row.param.name); });

// Makes the Japanese locale the global C and C++ locale for one test. Debian ships the locale's
// source in the locales package; when ja_JP.UTF-8 has not been generated on this machine it is
// generated into a private folder and found through LOCPATH.
class JapaneseGlobalLocale {
public:
    JapaneseGlobalLocale() : previousCpp_(std::locale()) {
        // A named C++ global locale is also set as the C library's global locale.
        if (!MakeGlobal()) {
            Generate();
            MakeGlobal();
        }
    }
    JapaneseGlobalLocale(const JapaneseGlobalLocale&) = delete;
    JapaneseGlobalLocale& operator=(const JapaneseGlobalLocale&) = delete;
    ~JapaneseGlobalLocale() {
        std::locale::global(previousCpp_);
        std::setlocale(LC_ALL, "C");
        locPath_.reset();
        if (dir_) {
            std::error_code ignored;
            std::filesystem::remove_all(*dir_, ignored);
        }
    }
    bool active() const { return active_; }

private:
    static constexpr const char* kName = "ja_JP.UTF-8";

    bool MakeGlobal() {
        try {
            std::locale::global(std::locale(kName));
            active_ = true;
        } catch (const std::runtime_error&) {
            active_ = false;
        }
        return active_;
    }

    void Generate() {
        if (!std::filesystem::exists("/usr/bin/localedef") ||
            !std::filesystem::exists("/usr/share/i18n/locales/ja_JP")) {
            return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvelo-locale-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        dir_ = pattern;
        const std::string command =
            "/usr/bin/localedef -i ja_JP -f UTF-8 '" + pattern + "/" + kName + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1) {
            return;
        }
        locPath_.emplace("LOCPATH", pattern);
    }

    std::locale previousCpp_;
    std::optional<std::filesystem::path> dir_;
    std::optional<ScopedEnv> locPath_;
    bool active_ = false;
};

TEST(MailDateText, EnglishNamesUnderAJapaneseLocale) {
    const ScopedTimeZone timeZone("UTC0");
    const JapaneseGlobalLocale japanese;
    if (!japanese.active()) {
        GTEST_SKIP() << "no ja_JP.UTF-8 locale here, and it could not be generated";
    }
    // The locale is in force: strftime itself now writes Japanese names.
    std::tm sunday{};
    gmtime_r(&kSunday, &sunday);
    std::array<char, 64> localised{};
    ASSERT_NE(std::strftime(localised.data(), localised.size(), "%a %b", &sunday), 0u);
    ASSERT_EQ(std::string(localised.data()).find("Dec"), std::string::npos);

    EXPECT_EQ(MailDateText(kSunday), "Sun, 06 Dec 2026 16:02:45 +0900");
    // Every month and day name, and the 31 characters, from the first of each month of 2027.
    constexpr std::array<const char*, 12> kFirsts{
        "Fri, 01 Jan 2027 18:05:07 +0900", "Mon, 01 Feb 2027 18:05:07 +0900",
        "Mon, 01 Mar 2027 18:05:07 +0900", "Thu, 01 Apr 2027 18:05:07 +0900",
        "Sat, 01 May 2027 18:05:07 +0900", "Tue, 01 Jun 2027 18:05:07 +0900",
        "Thu, 01 Jul 2027 18:05:07 +0900", "Sun, 01 Aug 2027 18:05:07 +0900",
        "Wed, 01 Sep 2027 18:05:07 +0900", "Fri, 01 Oct 2027 18:05:07 +0900",
        "Mon, 01 Nov 2027 18:05:07 +0900", "Wed, 01 Dec 2027 18:05:07 +0900"};
    for (int month = 0; month < 12; ++month) {
        std::tm first{};
        first.tm_year = 2027 - 1900;
        first.tm_mon = month;
        first.tm_mday = 1;
        first.tm_hour = 9;
        first.tm_min = 5;
        first.tm_sec = 7;
        const std::string text = MailDateText(timegm(&first));
        EXPECT_EQ(text, kFirsts[static_cast<std::size_t>(month)]);
        EXPECT_EQ(text.size(), 31u);
    }
}

TEST(MailDateText, IsTheCurrentTime) {
    const std::time_t before = std::time(nullptr);
    const std::string now = MailDateText();
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(now == MailDateText(before) || now == MailDateText(after)) << now;
    EXPECT_EQ(now.size(), 31u);
}

TEST(AssembleMailLines, HeaderThenEmptyLineThenEncodedBody) {
    const std::vector<std::string> lines =
        AssembleMailLines("Sun, 06 Dec 2026 16:02:45 +0900", "taro@example.jp", "gw.example.jp",
                          {"PHSNO=1234", "MSG=\x82\x60\x82\x61\x82\x62"});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "X-Mailer: Tarvelo from E-Mail Ver 1.1beta1",
                         "Date: Sun, 06 Dec 2026 16:02:45 +0900",
                         "From: taro@example.jp",
                         "To: tv@gw.example.jp",
                         "Mime-Version: 1.0",
                         "Content-Type: text/plain; charset=\"ISO-2022-JP\"",
                         "",
                         "PHSNO=1234",
                         "MSG=\x1B$B#A#B#C\x1B(J",
                     }));
}

TEST(AssembleMailLines, MissingSettingsLeaveTheirPartEmpty) {
    const std::vector<std::string> lines = AssembleMailLines("D", "", "", {});
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "From: ");
    EXPECT_EQ(lines[3], "To: tv@");
    EXPECT_EQ(lines[6], "");
}

TEST(AssembleMailLines, HeadersAreNotEncoded) {
    const std::vector<std::string> lines =
        AssembleMailLines("D", "\x82\x60\t@x", "\x82\x61\xFF.jp", {});
    EXPECT_EQ(lines[2], "From: \x82\x60\t@x");
    EXPECT_EQ(lines[3], "To: tv@\x82\x61\xFF.jp");
}

TEST(AssembleMailLines, BodyKeepsEveryLineInOrder) {
    const std::vector<std::string> image{"", "PHSNO=", "", "a b", "MSG=\xB1\x82\x60", ""};
    const std::vector<std::string> lines = AssembleMailLines("D", "s", "d", image);
    const std::vector<std::string> body(lines.begin() + 7, lines.end());
    EXPECT_EQ(body,
              (std::vector<std::string>{"", "PHSNO=", "", "a b", "MSG=\xB1\x1B$B#A\x1B(J", ""}));
}

TEST(AssembleMailLines, RefusesALineTheEncoderWouldNotCarryWhole) {
    EXPECT_THROW(AssembleMailLines("D", "s", "d", {"PHSNO=1", "MSG=a\tb"}), Error);
}

// A mail client's reading of the whole message: Python's email package, decoding the body by
// the charset the header declares. The answer key is iconv's reading of the original text.
TEST(AssembleMailLines, MailClientReadsTheOriginalText) {
    const TempWorkingDir dir;
    const std::vector<std::string> utf8Image{"PHSNO=０７０-1234", "RESNO=09012345678",
                                             "MSG=カ゛アＡＢＣ　（ハロー）？", "漢字も 1 行"};
    std::vector<std::string> image;
    for (const std::string& line : utf8Image) {
        image.push_back(Utf8ToShiftJis(line));
    }
    std::string message;
    for (const std::string& line :
         AssembleMailLines(MailDateText(kSunday), "taro@example.jp", "gw.example.jp", image)) {
        message += line + "\r\n";
    }
    WriteFileBytes(dir.path() / "mail.eml", message);

    const std::filesystem::path script =
        std::filesystem::path(TARVELO_SOURCE_DIR) / "tests" / "mail" / "decode_mail.py";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" +
                                (dir.path() / "mail.eml").string() + "' > '" +
                                (dir.path() / "decoded.txt").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::ostringstream expected;
    expected << "Tarvelo from E-Mail Ver 1.1beta1\ntv@gw.example.jp\niso-2022-jp\n";
    for (const std::string& line : image) {
        expected << ShiftJisToUtf8(line) << '\n';
    }
    EXPECT_EQ(ReadFileBytes(dir.path() / "decoded.txt"), expected.str());
}

}  // namespace
}  // namespace tarvelo
