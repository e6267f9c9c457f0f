// Every text that the windows of both front ends show, in one table: captions, hints,
// questions, buttons, states and the reasons of failures, in UTF-8. A front end turns them into
// its toolkit's strings at the boundary and never writes a text of its own; line breaks are the
// toolkit's business, so no text here is wrapped by hand.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo::texts {

// The main window, the About box, a sending and its progress dialog, the password prompt.

// The main window's controls, by name. The error boxes' texts are the composition's
// (compose/Composition.h), which tarvelo-send prints too.
inline constexpr std::string_view kMesL = "ﾒｯｾｰｼﾞ";
inline constexpr std::string_view kPhsNoL = "PHS No";
inline constexpr std::string_view kLabel3 = "ﾒｰﾙｲﾒｰｼﾞ";
inline constexpr std::string_view kLabel1 = "Tarvelo";
inline constexpr std::string_view kLabel2 = "受信ｲﾒｰｼﾞ";
inline constexpr std::string_view kLabel4 = "桁";
inline constexpr std::string_view kSendButton = "送信(&S)";
inline constexpr std::string_view kSendButtonHint = "SMTPで送信します";
inline constexpr std::string_view kSetBtn = "環境設定(&P)";
inline constexpr std::string_view kNonCng = "テスト(変換なし)";
inline constexpr std::string_view kAboutBtn = "About";
inline constexpr std::string_view kLabel5 = "debug log";
inline constexpr std::string_view kLogClrBtn = "Log Clear";
inline constexpr std::string_view kLogClrBtnHint = "下のログを消すだけです";
// The doubled ampersand shows as one "&".
inline constexpr std::string_view kLogSaveBtn = "Log Save && Clear";
inline constexpr std::string_view kLogSaveBtnHint = "TVEMAIL.LOG に追加保存します";

// The tooltip over a character of the message that cannot be sent: 「X」は送れません, a line
// break named 改行.
inline std::string Unsendable(std::string_view character) {
    return "「" + std::string(character) + "」は送れません";
}
inline constexpr std::string_view kLineBreak = "改行";

// Buttons of every dialog.
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "ｷｬﾝｾﾙ";

// The About box; ProgName is given the version text before every showing.
inline constexpr std::string_view kAboutCaption = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr std::string_view kProgNameDesigned = "Tarvelo";

// The progress dialog: its designed captions, then what a sending shows.
inline constexpr std::string_view kSendCaption = "送信";
inline constexpr std::string_view kSendLabelDesigned = "SendLabel";
inline constexpr std::string_view kStateDesigned = "State";
inline constexpr std::string_view kSending = "送信中";
inline constexpr std::string_view kSent = "送信しました";
inline constexpr std::string_view kSendError = "送信エラー";
inline constexpr std::string_view kNoConnection = "接続できませんでした";
// "Connecting " + the SMTP server setting + "..."
inline std::string Connecting(std::string_view server) {
    return "Connecting " + std::string(server) + "...";
}

// Why a sending ended where no reply of the server tells it: one sentence, then the technical
// detail in parentheses (Reason).
inline constexpr std::string_view kReasonNoConnection = "サーバに接続できません";
inline constexpr std::string_view kReasonTls = "TLS で安全に接続できません";
inline constexpr std::string_view kReasonAuthentication = "ログインできません";
inline constexpr std::string_view kReasonClosed = "サーバが接続を切りました";
inline constexpr std::string_view kReasonReadFailed = "サーバから読み取れません";
inline constexpr std::string_view kReasonSendFailed = "サーバに送れません";
inline constexpr std::string_view kReasonOverdue = "サーバが時間内に応えません";
inline constexpr std::string_view kReasonRefused = "サーバが受け付けません";
// 「サーバに接続できません (mail.example:25: connection refused)」
inline std::string Reason(std::string_view sentence, std::string_view detail) {
    std::string text(sentence);
    if (!detail.empty()) {
        text.append(" (").append(detail).append(")");
    }
    return text;
}

// The question for the password of the submission server at a sending.
inline constexpr std::string_view kPasswordCaption = "送信サーバのパスワード";
inline constexpr std::string_view kPasswordHint = "このプログラムを終了するまで覚えておきます";
// "login (server) のパスワード"
inline std::string PasswordQuestion(std::string_view login, std::string_view server) {
    return std::string(login) + " (" + std::string(server) + ") のパスワード";
}

// The settings dialog, the domain editor and the submission dialog.

}  // namespace tarvelo::texts
