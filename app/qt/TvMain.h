// The main window: the message, its handset preview and mail image, and the debug log.
#pragma once

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SmtpDriver.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QTimer;

namespace tarvelo {
class HandsetPreview;
class MailImageEdit;
class UnsendableMarks;
class UpDown;
}  // namespace tarvelo

class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    // The composition: preview, mail image, both error boxes and the send button, all rebuilt
    // from the controls.
    void MailMesChange();
    // Sets the preview's width from the column count that rcvClm shows.
    void ClmUpDownClick();
    void SetBtnClick();
    void AboutBtnClick();
    void LogClrBtnClick();
    void LogSaveBtnClick();
    void FormResize();

    // The sending (app/TvSend.cpp): fills mailLines from the settings and the mail image
    // as they stand now.
    void AssembleMail();
    // Assembles the mail, connects to the SMTP server and shows the progress dialog modally;
    // returns when the dialog has been closed.
    void sendButtonClick();
    // One poll of the connection: what is waiting is read and handed to the conversation.
    void Timer1Timer();
    // Closes the connection and stops the timer; does nothing more when no session is open.
    void EndSession();

    // Adds text to the debug log, one line per part between its line breaks, byte for byte.
    void AddLog(std::string_view sjisText);
    const std::vector<std::string>& LogLines() const { return logLines_; }

    QTextEdit* MailMes;
    QLabel* MesL;
    QLabel* PhsNoL;
    QLineEdit* PhsNo;
    tarvelo::MailImageEdit* TvMes;
    QLabel* Label3;
    tarvelo::HandsetPreview* TvImg;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* rcvClm;
    tarvelo::UpDown* ClmUpDown;
    QLabel* Label4;
    QPlainTextEdit* msgErr;
    QPlainTextEdit* phsErr;
    QPushButton* sendButton;
    QPushButton* SetBtn;
    QCheckBox* NonCng;
    QPushButton* AboutBtn;
    QLabel* Label5;
    QPushButton* LogClrBtn;
    QPushButton* LogSaveBtn;
    QTextEdit* Log;
    QTimer* Timer1;
    // The bounds of a sending's connection, replies and sends.
    tarvelo::SendBounds sendBounds;
    // Where and how the sending under way connects, as resolved at the press of the button.
    tarvelo::SubmissionTarget sendTarget;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Connects to sendTarget_ with password and shows the progress dialog's first texts, or
    // why no connection was made.
    void Begin(tarvelo::SecretText password);
    // The server refused the login with reply: the question for the password comes again at
    // once over the progress dialog, and its answer is sent anew.
    void AskAgain(const std::string& reply);
    void PollReply();
    // Sends, logs, shows and ends as the conversation says.
    void CarryOut(const tarvelo::SmtpActions& actions);

    // The window's size with its frame, as the window system draws it.
    QSize OuterSize() const;
    void SetOuterSize(QSize outer);

    // Puts the lines of logLines_ that the memo does not show yet into it, unless it is too
    // narrow to be read.
    void ShowLogLines();

    tarvelo::UnsendableMarks* marks_;
    std::vector<std::string> logLines_;
    // How many of logLines_, from the first, the memo shows.
    std::size_t logLinesShown_ = 0;
    bool activated_ = false;
};

extern TForm1* Form1;
