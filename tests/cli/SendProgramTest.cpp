// tarvelo-send as a user runs it: the program started with arguments and standard input in a
// folder of settings, its output and exit status, and what a server on 127.0.0.1:25 got (the
// test runs in a network namespace of its own).
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ScriptedServer.h"
#include "SmtpSink.h"
#include "TempDir.h"
#include "cli/SendCommand.h"
#include "cli/SendMail.h"
#include "mail/SmtpText.h"

extern char** environ;

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using testing::ReadFileBytes;
using testing::ScriptedServer;
using testing::ServerConnection;
using testing::WriteFileBytes;

constexpr const char* kSettings = "taro@example.com\r\n127.0.0.1\r\n07011112222\r\n";
constexpr const char* kDomains = "central.phs.example\r\nkansai.phs.example\r\n";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs tarvelo-send in dir with arguments, input as its standard input; its output goes
// through files, so that nothing can block however much it writes. A device in place of a file:
// inputFrom for standard input, outputTo for standard output.
Outcome RunSend(const std::filesystem::path& dir, const std::vector<std::string>& arguments,
                const std::string& input = "", const char* inputFrom = nullptr,
                const char* outputTo = nullptr, bool closeError = false) {
    const std::filesystem::path in = dir / "stdin", out = dir / "stdout", err = dir / "stderr";
    WriteFileBytes(in, input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inputFrom ? inputFrom : in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputTo ? outputTo : out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (closeError) {
        posix_spawn_file_actions_addclose(&actions, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    }
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    std::vector<std::string> words{TARVELO_SEND_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    Outcome run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = outputTo ? "" : ReadFileBytes(out);
    run.err = ReadFileBytes(err);
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

class SendProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir_.path() / "tvemail.ini", kSettings);
        WriteFileBytes(dir_.path() / "tvdomain.ini", kDomains);
    }
    Outcome Send(const std::vector<std::string>& arguments, const std::string& input = "",
                 const char* inputFrom = nullptr, const char* outputTo = nullptr,
                 bool closeError = false) {
        return RunSend(dir_.path(), arguments, input, inputFrom, outputTo, closeError);
    }
    testing::TempWorkingDir dir_;
};

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::string input;
    int status;
    std::string out;
    std::string err;  // what standard error begins with
    friend void PrintTo(const Case& row, std::ostream* out) { *out << row.name; }
};

class SendProgramOutputTest : public SendProgramTest, public ::testing::WithParamInterface<Case> {};

// Nothing listens on port 25 in these rows: a program that tried to connect would exit 75.
TEST_P(SendProgramOutputTest, PrintsAndExits) {
    const Case& row = GetParam();
    const Outcome run = Send(row.arguments, row.input);
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_EQ(run.out, row.out);
    EXPECT_EQ(run.err.substr(0, row.err.size()), row.err) << run.err;
}

const std::string kUsage = "Usage: tarvelo-send [OPTIONS] NUMBER[,NUMBER...] [MESSAGE]\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, SendProgramOutputTest,
    ::testing::Values(
        Case{"DryRunFifteenColumnsFromInput",
             {"--dry-run", "--columns=15", "1234"},
             "ドアがあきました。\n",
             65,
             "ト゛アカ゛アキマシタ\n\nPHSNO=1234\nRESNO=07011112222\nMSG=ト゛アカ゛アキマシタ\n",
             "tarvelo-send: 不正な文字がふくまれています\n"},
        Case{"InvalidCharacter",
             {"1234", "漢字"},
             "",
             65,
             "",
             "tarvelo-send: 不正な文字がふくまれています\n"},
        Case{"LineBreakOutsideTestMode",
             {"1234"},
             "ア\nイ\n",
             65,
             "",
             "tarvelo-send: 不正な文字がふくまれています\n"},
        Case{"TestModeLineBreakCountsTwo",
             {"--test", "1234"},
             std::string(136, 'a') + "\nb\n",
             65,
             "",
             "tarvelo-send: ６９文字を超えています\n"},
        Case{"BothErrors",
             {"", ""},
             "",
             65,
             "",
             "tarvelo-send: メッセージがありません\ntarvelo-send: PHS Noがありません\n"},
        Case{"Help", {"--help"}, "", 0, std::string(kSendUsage), ""},
        Case{"Version", {"--version"}, "", 0, "tarvelo-send (Tarvelo from E-Mail) 1.1beta1\n", ""},
        Case{"NotTheLocalesEncoding",
             {"1234"},
             "\x83\x41\n",
             65,
             "",
             "tarvelo-send: standard input is not valid UTF-8\n"},
        Case{"UsageBadColumns",
             {"--columns", "16", "1", "ア"},
             "",
             64,
             "",
             "tarvelo-send: --columns takes a number from 5 to 15, not '16'\n" + kUsage},
        Case{"SettingsFolderMissing",
             {"--settings", "no-such-folder", "1", "ア"},
             "",
             78,
             "",
             "tarvelo-send: cannot enter the settings folder no-such-folder: "},
        // Refused before connecting (nothing listens) and before the password command runs
        // (false would say it failed).
        Case{"LoginWithoutTls",
             {"--user", "taro", "--security", "none", "--password-command", "false", "1", "ア"},
             "",
             78,
             "",
             "tarvelo-send: 暗号化なしではログインできません。暗号化を STARTTLS か SSL/TLS "
             "にしてください\n"},
        Case{"PasswordWithNul",
             {"--user", "taro", "--port", "465", "--password-command", "printf 'a\\000b\\n'", "1",
              "ア"},
             "",
             78,
             "",
             "tarvelo-send: パスワードに NUL、CR、LF は使えません\n"},
        // No command and no keyring that keeps one: refused before connecting.
        Case{"LoginWithoutPassword",
             {"--user", "taro", "--security", "starttls", "1", "ア"},
             "",
             78,
             "",
             "tarvelo-send: no password for the login taro: "}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SendProgramTest, MissingOrUnreadableSettingsAreNamed) {
    std::filesystem::remove(dir_.path() / "tvemail.ini");
    Outcome run = Send({"1234", "ア"});
    EXPECT_EQ(run.status, 78);
    EXPECT_EQ(run.err, "tarvelo-send: ﾌｧｲﾙ tvemail.ini は開けません (there is no tvemail.ini in " +
                           dir_.path().string() + ")\n");

    WriteFileBytes(dir_.path() / "tvemail.ini", "a@b\r\nmail\r\n");
    run = Send({"1234", "ア"});
    EXPECT_EQ(run.status, 78);
    EXPECT_EQ(run.err,
              "tarvelo-send: ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (tvemail.ini holds fewer than three "
              "lines)\n");

    WriteFileBytes(dir_.path() / "tvemail.ini", kSettings);
    std::filesystem::remove(dir_.path() / "tvdomain.ini");
    std::filesystem::create_directory(dir_.path() / "tvdomain.ini");
    run = Send({"--dry-run", "1234", "ア"});
    EXPECT_EQ(run.status, 78);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tarvelo-send: ﾌｧｲﾙ tvdomain.ini は開けません (could not read " +
                           dir_.path().string() + "/tvdomain.ini: is a directory)\n");

    // Nothing was created or written.
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "tvdomain.ini"));
    EXPECT_EQ(ReadFileBytes(dir_.path() / "tvemail.ini"), kSettings);

    // Found before connecting: nothing listens, and a connection tried would give 75.
    std::filesystem::remove(dir_.path() / "tvdomain.ini");
    WriteFileBytes(dir_.path() / "tvdomain.ini", "");
    run = Send({"1234", "ア"});
    EXPECT_EQ(run.status, 78);
    EXPECT_EQ(run.err, "tarvelo-send: no gateway domain: tvdomain.ini is empty\n");
}

TEST_F(SendProgramTest, SettingsThatCannotCarryASendingAreNamedBeforeConnecting) {
    // Nothing listens: a connection tried would give 75.
    for (const std::string server : {"127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:", "[::1]x"}) {
        WriteFileBytes(dir_.path() / "tvemail.ini", "a@b\r\n" + server + "\r\n\r\n");
        const Outcome run = Send({"1234", "ア"});
        EXPECT_EQ(run.status, 78) << server;
        EXPECT_EQ(run.err, "tarvelo-send: SMTP Server「" + server +
                               "」のポート番号は1～65535 の数ではありません\n");
    }
    WriteFileBytes(dir_.path() / "tvemail.ini", kSettings);
    std::filesystem::create_directory(dir_.path() / "tvsubmit.ini");
    const Outcome run = Send({"1234", "ア"});
    EXPECT_EQ(run.status, 78);
    EXPECT_EQ(run.err, "tarvelo-send: ﾌｧｲﾙ tvsubmit.ini は開けません (could not read " +
                           dir_.path().string() + "/tvsubmit.ini: is a directory)\n");
}

TEST_F(SendProgramTest, SettingsOfTheMenusFolder) {
    const std::filesystem::path home = dir_.path() / "home";
    const std::filesystem::path menu = home / ".local/share/tarvelo";
    std::filesystem::create_directories(menu);
    std::filesystem::rename(dir_.path() / "tvemail.ini", menu / "tvemail.ini");
    std::filesystem::rename(dir_.path() / "tvdomain.ini", menu / "tvdomain.ini");
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    const Outcome run = Send({"--dry-run", "1", "ア"});
    ::setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ア\n\nPHSNO=1\nRESNO=07011112222\nMSG=ア\n");
}

TEST_F(SendProgramTest, BoundedInputAndLostOutput) {
    Outcome run = Send({"1234"}, "", "/dev/zero");
    EXPECT_EQ(run.status, 65);
    EXPECT_NE(run.err.find("standard input is longer than any message"), std::string::npos);
    run = Send({"--dry-run", "1234", "ア"}, "", nullptr, "/dev/full");
    EXPECT_EQ(run.status, 74);
    EXPECT_EQ(run.err, "tarvelo-send: cannot write standard output: no space left on device\n");
}

TEST_F(SendProgramTest, SettingsFromAnotherFolder) {
    const std::filesystem::path elsewhere = dir_.path() / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    WriteFileBytes(elsewhere / "tvemail.ini", "a@b\r\nmail\r\n\r\n");
    WriteFileBytes(elsewhere / "tvdomain.ini", "x.example\r\n");
    const Outcome run = Send({"--settings", "elsewhere", "--dry-run", "1", "ア"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ア\n\nPHSNO=1\nMSG=ア\n");
}

TEST_F(SendProgramTest, RealServerGetsTheWindowsMail) {
    const std::filesystem::path sinkDir = dir_.path() / "sink";
    testing::SmtpSink sink(sinkDir);
    ASSERT_TRUE(sink.Ready(15s)) << "smtp_sink.py did not start listening on 127.0.0.1:25";

    const Outcome run = Send({"1234"}, "がっこう\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFileBytes(sinkDir / "envelope.txt"),
              "taro@example.com\ntv@central.phs.example\n");
    const std::string message = ReadFileBytes(sinkDir / "message.eml");
    const std::size_t date = message.find("Date: ");
    ASSERT_NE(date, std::string::npos) << message;
    // The date is the one line that changes from run to run: 31 characters.
    EXPECT_EQ(message.substr(0, date) + message.substr(date + 6 + 31),
              "X-Mailer: Tarvelo from E-Mail Ver 1.1beta1\r\n"
              "\r\n"
              "From: taro@example.com\r\n"
              "To: tv@central.phs.example\r\n"
              "Mime-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
              "\r\n"
              "PHSNO=1234\r\n"
              "RESNO=07011112222\r\n"
              "MSG=\x1B$B%+!+%D%3%&\x1B(J\r\n");
}

TEST_F(SendProgramTest, SeveralNumbersAMailEach) {
    const std::filesystem::path sinkDir = dir_.path() / "sink";
    testing::SmtpSink sink(sinkDir);
    ASSERT_TRUE(sink.Ready(15s)) << "smtp_sink.py did not start listening on 127.0.0.1:25";

    const Outcome run = Send({"1234, 5678", "ア"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(sinkDir / "count"), "2\n");
    EXPECT_NE(ReadFileBytes(sinkDir / "1.eml").find("\r\nPHSNO=1234\r\n"), std::string::npos);
    EXPECT_NE(ReadFileBytes(sinkDir / "2.eml").find("\r\nPHSNO=5678\r\n"), std::string::npos);
}

// The replies of a server that takes everything: the greeting, then HELO, RSET, MAIL, RCPT,
// DATA, the end of the data and QUIT.
const std::vector<std::string> kReplies = {"220 hi\r\n",   "250 hello\r\n", "250 reset\r\n",
                                           "250 from\r\n", "250 to\r\n",    "354 go\r\n",
                                           "250 kept\r\n", "221 bye\r\n"};
constexpr std::size_t kEndOfData = 6;

struct ServerCase {
    const char* name;
    std::size_t step;   // the step at which the server does otherwise
    std::string reply;  // what it sends there instead; empty: it hangs up
    int status;
    std::string err;
    friend void PrintTo(const ServerCase& row, std::ostream* out) { *out << row.name; }
};

class SendProgramServerTest : public SendProgramTest,
                              public ::testing::WithParamInterface<ServerCase> {};

TEST_P(SendProgramServerTest, ExitStatus) {
    const ServerCase& row = GetParam();
    ScriptedServer server([&row](ServerConnection& c) {
        for (std::size_t step = 0; step < kReplies.size(); ++step) {
            if (step > 0 && (step == kEndOfData ? c.ReadData() : c.ReadLine()).empty()) {
                return;
            }
            if (step == row.step) {
                if (row.reply.empty()) {
                    return;  // the server closes the connection
                }
                c.Send(row.reply);
                if (row.status != 0) {
                    return;
                }
            } else {
                c.Send(kReplies[step]);
            }
        }
    });
    const Outcome run = Send({"--test", "1234", "Door open"});
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_EQ(run.err, row.err);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendProgramServerTest,
    ::testing::Values(
        ServerCase{"Taken", 99, "", 0, ""},
        ServerCase{"RecipientRefused", 4, "550 no such user\r\n", 69,
                   "tarvelo-send: 550 no such user\n"},
        ServerCase{"SenderRefusedForNow", 3, "451 try later\r\n", 75,
                   "tarvelo-send: 451 try later\n"},
        ServerCase{"HangUpBeforeData", 5, "", 75,
                   "tarvelo-send: the server closed the connection; the last reply: 250 to\n"},
        ServerCase{"NotANumber", 2, "abc\r\n", 76, "tarvelo-send: 'abc' は整数ではありません\n"},
        ServerCase{"GarbageGreeting", 0, "SSH-2.0-x\r\n", 76,
                   "tarvelo-send: 'SSH' は整数ではありません\n"},
        ServerCase{"HangUpAfterTaken", 7, "", 0, ""}),
    [](const auto& row) { return std::string(row.param.name); });

// With standard error closed, the socket would get descriptor 2 and the log of --verbose would
// go into the connection; the server gets the conversation and nothing else.
TEST_F(SendProgramTest, ClosedStandardErrorLosesTheLogNeverTheMail) {
    ScriptedServer server([](ServerConnection& c) {
        for (std::size_t step = 0; step < kReplies.size(); ++step) {
            if (step > 0 && (step == kEndOfData ? c.ReadData() : c.ReadLine()).empty()) {
                return;
            }
            c.Send(kReplies[step]);
        }
    });
    const Outcome run =
        Send({"--verbose", "--test", "1234", "Door open"}, "", nullptr, nullptr, true);
    EXPECT_EQ(run.status, 0);
    const std::string got = server.Received();
    EXPECT_TRUE(got.starts_with("HELO example.com\r\nRSET\r\nMAIL FROM:<taro@example.com>\r\n"))
        << got;
    EXPECT_EQ(got.find(" R:"), std::string::npos) << got;
    EXPECT_EQ(got.find(" S:"), std::string::npos) << got;
}

TEST_F(SendProgramTest, NoConnection) {
    // Nothing listens on 127.0.0.1:25 in this namespace.
    Outcome run = Send({"1234", "ア"});
    EXPECT_EQ(run.status, 75);
    EXPECT_EQ(run.err, "tarvelo-send: cannot connect to 127.0.0.1:25: connection refused\n");

    run = Send({"1234,5678", "ア"});
    EXPECT_EQ(run.status, 75);
    EXPECT_EQ(run.err,
              "tarvelo-send: 1234: cannot connect to 127.0.0.1:25: connection refused\n"
              "tarvelo-send: 5678: cannot connect to 127.0.0.1:25: connection refused\n");

    WriteFileBytes(dir_.path() / "tvemail.ini", "a@b\r\nno-such-host.invalid\r\n\r\n");
    run = Send({"1234", "ア"});
    EXPECT_EQ(run.status, 75);
    // No resolver answers in the namespace.
    EXPECT_EQ(run.err,
              "tarvelo-send: cannot connect to no-such-host.invalid:25: the name cannot be looked "
              "up now\n");
}

// Waits on the outside world that end in time, each with its reason; nothing listens on port
// 25 here, so a program that got as far as connecting exits 75 at once.
struct BoundCase {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string err;
    std::chrono::milliseconds atLeast;
    friend void PrintTo(const BoundCase& row, std::ostream* out) { *out << row.name; }
};

class SendProgramBoundTest : public SendProgramTest,
                             public ::testing::WithParamInterface<BoundCase> {};

TEST_P(SendProgramBoundTest, EndsInTime) {
    const BoundCase& row = GetParam();
    ASSERT_EQ(::mkfifo((dir_.path() / "ca.fifo").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    const Outcome run = Send(row.arguments);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.err, row.err);
    EXPECT_GE(took, row.atLeast);
    EXPECT_LT(took, row.atLeast + 3s);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SendProgramBoundTest,
    ::testing::Values(
        // Refused before connecting, without opening the pipe for reading.
        BoundCase{"FifoAsCaFile",
                  {"--security", "starttls", "--ca-file", "ca.fifo", "1234", "ア"},
                  78,
                  "tarvelo-send: CA ﾌｧｲﾙ ca.fifo を使えません: not a regular file\n",
                  0ms},
        // The password has come; the command gets its 2 s to exit and is then ended.
        BoundCase{"PasswordCommandThatLingers",
                  {"--user", "taro", "--security", "starttls", "--password-command",
                   "echo pw; sleep 1000", "1234", "ア"},
                  75,
                  "tarvelo-send: cannot connect to 127.0.0.1:25: connection refused\n",
                  2s}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SendProgramTest, VerboseAndLogShowTheConversation) {
    const auto refuseHelo = [](ServerConnection& c) {
        c.Send(kReplies[0]);
        c.ReadLine();
        c.Send("550 no\r\n");
    };
    const std::string block =
        "--- Logging by Tarvelo from E-Mail Ver 1.1beta1 ---\r\n"
        " R:220 hi\r\n"
        " S:HELO example.com\r\n"
        " R:550 no\r\n";
    for (const std::string& logged : {block, block + block}) {
        ScriptedServer server(refuseHelo);
        const Outcome run = Send({"--verbose", "--log", "1234", "ア"});
        EXPECT_EQ(run.status, 69);
        EXPECT_EQ(run.err, " R:220 hi\n S:HELO example.com\n R:550 no\ntarvelo-send: 550 no\n");
        EXPECT_EQ(ReadFileBytes(dir_.path() / "TVEMAIL.LOG"), logged);
    }
}

TEST_F(SendProgramTest, NoConnectionNoLog) {
    EXPECT_EQ(Send({"--log", "1234", "ア"}).status, 75);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "TVEMAIL.LOG"));
}

// The time bounds, in this process with a short bound rather than through the program.
class SendMailTimeTest : public ::testing::Test {
protected:
    static SendResult Send() {
        const MailRequest request{
            .target = ResolveSubmission("127.0.0.1", {}),
            .settings = {.userName = "taro@example.com", .gatewayDomain = "central.phs.example"},
            .mails = {{"MSG=A"}},
            .bounds = {.reply = 300ms}};
        return SendMails(request, [](std::string_view) {}).front();
    }
};

TEST_F(SendMailTimeTest, ServerThatNeverAnswers) {
    ScriptedServer server([](ServerConnection& c) { c.Stall(3s); });
    const auto start = std::chrono::steady_clock::now();
    const SendResult result = Send();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(result.status, SendStatus::TempFail);
    EXPECT_EQ(result.failure, "the server did not answer in time");
}

TEST_F(SendMailTimeTest, ReplyThatTricklesIn) {
    ScriptedServer server(
        [](ServerConnection& c) { c.SendByteByByte("220 hello there\r\n", 100ms); });
    const SendResult result = Send();
    EXPECT_EQ(result.status, SendStatus::TempFail);
    EXPECT_EQ(result.failure, "the server's reply did not complete in time; what arrived: 220");
}

TEST_F(SendMailTimeTest, SilenceAfterTheMailWasTakenIsSuccess) {
    ScriptedServer server([](ServerConnection& c) {
        for (std::size_t step = 0; step < kEndOfData + 1; ++step) {
            if (step > 0) {
                (step == kEndOfData ? c.ReadData() : c.ReadLine());
            }
            c.Send(kReplies[step]);
        }
        c.Stall(3s);
    });
    const SendResult result = Send();
    EXPECT_EQ(result.status, SendStatus::Sent) << result.failure;
}

// Submission to aiosmtpd with a CA of the test's own: STARTTLS or TLS, AUTH, and each refusal.
// A password long enough that no other text of the log holds it by chance.
constexpr const char* kSinkPassword = "s3cret-Pass-words";

struct SubmissionCase {
    const char* name;
    const char* server;
    const char* password;
    bool trustTheCa;
    SendStatus status;
    friend void PrintTo(const SubmissionCase& row, std::ostream* out) { *out << row.name; }
};

class SubmissionEndToEndTest : public ::testing::TestWithParam<SubmissionCase> {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing::TempWorkingDir;
        sink_ = new testing::SmtpSink(dir_->path(), {"--submission", "taro", kSinkPassword});
        ASSERT_TRUE(sink_->Ready(30s)) << "smtp_sink.py --submission did not start";
    }
    static void TearDownTestSuite() {
        delete sink_;
        delete dir_;
    }
    static inline testing::TempWorkingDir* dir_ = nullptr;
    static inline testing::SmtpSink* sink_ = nullptr;
};

TEST_P(SubmissionEndToEndTest, SendsOrSaysWhyNot) {
    const SubmissionCase& row = GetParam();
    SubmissionSettings submission;
    submission.login = "taro";
    submission.caFile = row.trustTheCa ? (dir_->path() / "ca.crt").string() : "";
    const MailRequest request{
        .target = ResolveSubmission(row.server, submission),
        .settings = {.userName = "taro@example.com", .gatewayDomain = "gw.example"},
        .mails = {{"Subject: " + std::string(row.name), "", "MSG=A"}},
        .password = SecretText(row.password)};
    std::string log;
    const SendResult result =
        SendMails(request, [&](std::string_view line) { log += line; }).front();
    EXPECT_EQ(result.status, row.status) << result.failure;
    // The password itself, and as AUTH LOGIN and AUTH PLAIN carry it.
    for (const std::string& form : {std::string(row.password), Base64(row.password),
                                    Base64(std::string("\0taro\0", 6) + row.password)}) {
        EXPECT_EQ(log.find(form), std::string::npos) << "the password in the log: " << form;
    }
    EXPECT_EQ(ReadFileBytes(dir_->path() / "message.eml").find(row.name) != std::string::npos,
              row.status == SendStatus::Sent);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SubmissionEndToEndTest,
    ::testing::Values(
        SubmissionCase{"StartTlsOn587", "127.0.0.1:587", kSinkPassword, true, SendStatus::Sent},
        SubmissionCase{"TlsOn465", "127.0.0.1:465", kSinkPassword, true, SendStatus::Sent},
        SubmissionCase{"WrongPassword", "127.0.0.1:587", "n0t-the-pass", true,
                       SendStatus::NoPermission},
        SubmissionCase{"UnknownCa", "127.0.0.1:465", kSinkPassword, false, SendStatus::Unavailable},
        SubmissionCase{"CertificateForAnotherAddress", "[::1]:587", kSinkPassword, true,
                       SendStatus::Unavailable}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
