// The main window: the message, its handset preview and mail image, and the debug log.
#pragma once

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainForm.h"
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

    // The sending (app/qt/TvSend.cpp), as MainForm::PressSend says: returns when the progress
    // dialog has been closed.
    void sendButtonClick();
    // One poll of the connection: what is waiting is read and handed to the conversation.
    void Timer1Timer();
    // Closes the connection and stops the timer; does nothing more when no session is open.
    void EndSession();

    // Adds text to the debug log, one line per part between its line breaks, byte for byte.
    void AddLog(std::string_view sjisText);
    const std::vector<std::string>& LogLines() const { return form_.LogLines(); }
    // The mail of the last press of the send button that was not refused.
    const std::vector<std::string>& MailLines() const { return form_.MailLines(); }
    bool Sending() const { return form_.Sending(); }

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

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Writes what a sending shows into the log and the progress dialog.
    void Show(const tarvelo::SendScreen& screen);
    // The server refused the login with reply: the question for the password comes again at
    // once over the progress dialog, and its answer is sent anew.
    void AskAgain(const std::string& reply);

    // The window's size with its frame, as the window system draws it.
    QSize OuterSize() const;
    void SetOuterSize(QSize outer);

    // Puts the log's lines that the memo does not show yet into it, unless it is too narrow to
    // be read.
    void ShowLogLines();

    tarvelo::MainForm form_;
    tarvelo::UnsendableMarks* marks_;
    // How many of the log's lines, from the first, the memo shows.
    std::size_t logLinesShown_ = 0;
    bool activated_ = false;
};

extern TForm1* Form1;
