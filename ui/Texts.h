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

// The password prompt's check box: the answer goes into the desktop's keyring.
inline constexpr std::string_view kSavePassword = "パスワードを保存する";
inline constexpr std::string_view kSavePasswordHint =
    "キーリングに保存します。しなければこのプログラムを終了するまで覚えておきます";
// The same where the store is Windows' Credential Manager.
inline constexpr std::string_view kSavePasswordHintWindows =
    "資格情報マネージャーに保存します。しなければこのプログラムを終了するまで覚えておきます";
// The progress dialog's headline, and the prompt's first line, when the server refused the
// login; the server's reply follows.
inline constexpr std::string_view kLoginRefused = "ログインできませんでした";
// The prompt's labels are the submission dialog's: kLoginLabel, kPasswordLabel.

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
inline constexpr std::string_view kConnectingLabel = "接続中";
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
// "login (server) のパスワード"
inline std::string PasswordQuestion(std::string_view login, std::string_view server) {
    return std::string(login) + " (" + std::string(server) + ") のパスワード";
}

// The settings dialog, the domain editor and the submission dialog.

// The settings dialog. Its labels also name the fields in the reasons of a refused OK.
inline constexpr std::string_view kSetDialogCaption = "環境設定";
inline constexpr std::string_view kMailAddressLabel = "Mail Address";
inline constexpr std::string_view kSmtpServerLabel = "SMTP Server";
inline constexpr std::string_view kResNoLabel = "返答先番号";
inline constexpr std::string_view kDomainLabel = "送信先ドメイン";
inline constexpr std::string_view kUserNameHint = "自分のメールアドレスを入力します";
inline constexpr std::string_view kSmtpHint = "メールサーバのアドレスを入力します";
inline constexpr std::string_view kResNoHint = "自分のPHS番号などを入力します(省略可)";
inline constexpr std::string_view kCenterAdrHint = "相手のPHS会社のドメインを指定します";
inline constexpr std::string_view kDomainEditBtn = "編集(&E)";
inline constexpr std::string_view kDomainEditBtnHint = "通常、編集する必要はありません";
inline constexpr std::string_view kSubmitBtn = "送信サーバ(&S)...";
inline constexpr std::string_view kSubmitBtnHint =
    "ポート、暗号化、ログインを設定します(ポート 25 なら不要)";

// Asked at OK when a file that it writes has changed on disk since the load. files: the
// files' names, joined by "、". The paragraphs say what each answer does.
inline std::string ChangedOnDiskQuestion(std::string_view files) {
    return "ﾌｧｲﾙ " + std::string(files) +
           " は、この画面を開いた後にほかの Tarvelo などで変更されています。\n\n"
           "読み込む: その変更を読み込みます。ここで入力した内容は消えます。\n"
           "上書き: ここで入力した内容を保存します。その変更は消えます。";
}
inline constexpr std::string_view kFileNameSeparator = "、";
// Its answers, in this order; the first is the default, Cancel is Esc's.
inline constexpr std::string_view kLoadAnswer = "読み込む(&L)";
inline constexpr std::string_view kOverwriteAnswer = "上書き(&O)";

// The domain editor. kNewDomainLabel names its edit in the reason of a refused Add.
inline constexpr std::string_view kDomainEditCaption = "Tarveloドメインの編集";
inline constexpr std::string_view kAddBtn = "追加(&A)";
inline constexpr std::string_view kDelBtn = "削除(&R)";
inline constexpr std::string_view kNewDomainLabel = "ドメイン";

// The submission dialog. The port and security labels also name the lines of "tvsubmit.ini"
// in the reasons of a file that cannot be read.
inline constexpr std::string_view kSubmitCaption = "送信サーバの設定";
inline constexpr std::string_view kPortLabel = "ポート番号";
inline constexpr std::string_view kSecurityLabel = "暗号化";
inline constexpr std::string_view kLoginLabel = "ログイン名";
inline constexpr std::string_view kPasswordLabel = "パスワード";
inline constexpr std::string_view kCaFileLabel = "CA ファイル";
// The port's 0 and the first entry of the security list: the choice left to the port.
inline constexpr std::string_view kDefaultChoice = "既定";
inline constexpr std::string_view kSecurityNone = "なし";
inline constexpr std::string_view kSecurityStartTls = "STARTTLS";
inline constexpr std::string_view kSecurityTls = "SSL/TLS";
inline constexpr std::string_view kPortHint = "既定: SMTP Server の「:ポート」、なければ 25";
inline constexpr std::string_view kSecurityHint =
    "既定: 587 は STARTTLS、465 は SSL/TLS、ほかはなし";
inline constexpr std::string_view kLoginHint = "空なら認証しません";
inline constexpr std::string_view kPasswordHint =
    "キーリングに保存します(なければ終了まで覚えておきます)。空なら変えません";
// The same where the store is Windows' Credential Manager.
inline constexpr std::string_view kPasswordHintWindows =
    "資格情報マネージャーに保存します(できなければ終了まで覚えておきます)。空なら変えません";
inline constexpr std::string_view kCaFileHint =
    "システムの証明書のほかに信頼する CA の PEM ファイル(省略可)";
inline constexpr std::string_view kCaFileBtn = "参照(&B)";
// The file chooser of the CA file: its kinds of file, by name and patterns.
inline constexpr std::string_view kPemFiles = "PEM 証明書";
inline constexpr std::string_view kPemPatterns = "*.pem *.crt";
inline constexpr std::string_view kAllFiles = "すべてのファイル";
inline constexpr std::string_view kAllPatterns = "*";
inline constexpr std::string_view kPasswordWithoutLogin =
    "パスワードはログイン名といっしょに設定します";
// Why a line of "tvsubmit.ini" cannot be read: what it may hold.
inline constexpr std::string_view kPortExpected = "1～65535 の数";
inline constexpr std::string_view kSecurityExpected = "none、starttls、tls のどれか";

}  // namespace tarvelo::texts
