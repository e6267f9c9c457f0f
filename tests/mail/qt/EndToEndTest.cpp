// One sending through the real windows to a real SMTP server (aiosmtpd, tests/mail/smtp_sink.py)
// on 127.0.0.1:25 in the test's own network namespace, and what that server took: the
// envelope, the six header lines and a body that Python's mail reader decodes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "SendFixture.h"
#include "SmtpSink.h"
#include "TempDir.h"
#include "Typing.h"
#include "app/qt/TvMain.h"
#include "settings/LineList.h"
#include "settings/SettingsFiles.h"
#include "settings/qt/PasswordDialog.h"
#include "settings/qt/setting.h"

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using testing::ReadFileBytes;
using testing::SmtpSink;

const std::filesystem::path kHere = std::filesystem::path(TARVELO_SOURCE_DIR) / "tests" / "mail";

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// What Python's mail reader makes of the message (tests/mail/decode_mail.py): the values of
// X-Mailer and To, the body's charset and the decoded body lines, in UTF-8.
std::string DecodedByPython(const std::filesystem::path& message) {
    const std::string command =
        "/usr/bin/python3 '" + (kHere / "decode_mail.py").string() + "' '" + message.string() + "'";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[256];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
            output.append(chunk, n);
        }
        ::pclose(pipe);
    }
    return output;
}

class EndToEndTest : public testing::SendFixture {};

TEST_F(EndToEndTest, RealServerTakesTheMailAsComposed) {
    // A reply number, so that RESNO= is there, and kana, so that the body switches to JIS X
    // 0208 and back.
    SetDialog->ResNo->setText(QStringLiteral("07011112222"));
    Form1->MailMes->clear();
    testing::TypeText(Form1->MailMes, QString::fromUtf8("がっこう"));
    ASSERT_TRUE(Form1->sendButton->isEnabled());

    const std::filesystem::path sinkDir = dir_.path() / "sink";
    SmtpSink sink(sinkDir);
    ASSERT_TRUE(sink.Ready(15s)) << "smtp_sink.py did not start listening on 127.0.0.1:25";

    const testing::Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_EQ(seen.button, Text("OK"));
    ExpectSessionClosed();

    EXPECT_EQ(ReadFileBytes(sinkDir / "envelope.txt"), "taro@example.com\ntv@gw.phs.test\n");
    const std::string message = ReadFileBytes(sinkDir / "message.eml");
    const std::vector<std::string> lines = SplitCrLf(message);
    ASSERT_GE(lines.size(), 8u) << message;
    EXPECT_EQ(lines[0], "X-Mailer: Tarvelo from E-Mail Ver 1.1beta1");
    EXPECT_TRUE(
        std::regex_match(lines[1], std::regex("Date: (Sun|Mon|Tue|Wed|Thu|Fri|Sat), [0-3][0-9] "
                                              "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                              "[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9] \\+0900")))
        << lines[1];
    EXPECT_EQ(lines[2], "From: taro@example.com");
    EXPECT_EQ(lines[3], "To: tv@gw.phs.test");
    EXPECT_EQ(lines[4], "Mime-Version: 1.0");
    EXPECT_EQ(lines[5], "Content-Type: text/plain; charset=\"ISO-2022-JP\"");
    EXPECT_EQ(lines[6], "") << "the server added a header of its own, or the client did";
    EXPECT_NE(message.find("\r\n\r\nPHSNO=1234\r\nRESNO=07011112222\r\nMSG=\x1B$B"),
              std::string::npos)
        << message;

    EXPECT_EQ(DecodedByPython(sinkDir / "message.eml"),
              "Tarvelo from E-Mail Ver 1.1beta1\n"
              "tv@gw.phs.test\n"
              "iso-2022-jp\n"
              "PHSNO=1234\n"
              "RESNO=07011112222\n"
              "MSG=カ゛ツコウ\n");
}

// A login over TLS from the first byte to aiosmtpd with a CA of the test's own: the question
// for the password comes first; the server refuses the wrong answer, and the question comes
// again at once, saying why, with the login filled in; the right answer then delivers.
TEST_F(EndToEndTest, RefusedLoginAskedAgainAtOnceThenDelivers) {
    const std::filesystem::path sinkDir = dir_.path() / "sink";
    SmtpSink sink(sinkDir, {"--submission", "taro", "right-pass"});
    ASSERT_TRUE(sink.Ready(30s)) << "smtp_sink.py --submission did not start";
    WriteLineList(kSubmitFileName, {"465", "", "taro", (sinkDir / "ca.crt").string()});

    struct Asked {
        QString refusal;
        QString login;
        bool saveChecked = true;
    };
    std::vector<Asked> asked;
    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [&asked] {
        auto* prompt = qobject_cast<TPasswordDialog*>(QApplication::activeModalWidget());
        if (prompt == nullptr || !prompt->isVisible()) {
            return;
        }
        asked.push_back(
            {prompt->Label2->text(), prompt->Login->text(), prompt->Remember->isChecked()});
        EXPECT_EQ(prompt->BitBtnOk->text(), "OK");
        if (asked.size() > 2) {
            prompt->BitBtnCan->click();
            return;
        }
        prompt->Password->setText(asked.size() == 1 ? QStringLiteral("wrong-pass")
                                                    : QStringLiteral("right-pass"));
        prompt->BitBtnOk->click();
    });
    answers.start(10);
    const testing::Seen seen = Send([&asked] {
        return !Form1->Timer1->isActive() && SendDlg->CancelBtn->text() == "OK" &&
               (SendDlg->SendLabel->text() != Text("ログインできませんでした") || asked.size() > 2);
    });
    answers.stop();

    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].refusal, "");
    EXPECT_EQ(asked[0].login, "taro");
    EXPECT_TRUE(asked[1].refusal.startsWith(Text("ログインできませんでした: 535")))
        << asked[1].refusal.toStdString();
    EXPECT_EQ(asked[1].login, "taro");
    // The tests have no keyring: nothing to save into.
    EXPECT_FALSE(asked[0].saveChecked);
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_TRUE(seen.errorBox.isEmpty()) << seen.errorBox.toStdString();
    ExpectSessionClosed();
    EXPECT_NE(ReadFileBytes(sinkDir / "message.eml").find("PHSNO=1234"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo
