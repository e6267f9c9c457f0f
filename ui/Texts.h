// Every text that the windows of both front ends show, in one table: captions, hints,
// questions, buttons, states and the reasons of failures, in UTF-8. A front end turns them into
// its toolkit's strings at the boundary and never writes a text of its own; line breaks are the
// toolkit's business, so no text here is wrapped by hand.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo::texts {

// The main window, the About box, a sending and its progress dialog, the password prompt.

// The password prompt's check box: the answer goes into the desktop's keyring.
inline constexpr std::string_view kSavePassword = "パスワードを保存する";
inline constexpr std::string_view kSavePasswordHint =
    "キーリングに保存します。しなければこのプログラムを終了するまで覚えておきます";
// The progress dialog's headline, and the prompt's first line, when the server refused the
// login; the server's reply follows.
inline constexpr std::string_view kLoginRefused = "ログインできませんでした";
// The prompt's labels are the submission dialog's: kLoginLabel, kPasswordLabel.

// The settings dialog, the domain editor and the submission dialog.

// Buttons of every dialog (also in the first section; one of the two goes at the merge).
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "ｷｬﾝｾﾙ";

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
