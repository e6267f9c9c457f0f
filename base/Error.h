// The errors that the application object shows in a message box.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "base/CaretNotation.h"

namespace tarvelo {

// Which of the errors below it is, for a caller that adds its own detail (tarvelo-send).
enum class ErrorKind { Other, FileOpen, ListIndex };

// Raised where a handler cannot go on; caught only by RunHandler (ui/ErrorPath.h), which
// shows what() and skips the rest of the handler. what() is UTF-8, for display.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text, ErrorKind kind = ErrorKind::Other,
                   std::string subject = {})
        : std::runtime_error(text), kind_(kind), subject_(std::move(subject)) {}
    explicit Error(const char* text) : Error(std::string(text)) {}

    ErrorKind Kind() const { return kind_; }
    // What the error names: the file of FileOpen.
    const std::string& Subject() const { return subject_; }

private:
    ErrorKind kind_;
    std::string subject_;
};

namespace detail {

inline Error FormatError(std::string_view pattern, std::string_view value,
                         ErrorKind kind = ErrorKind::Other) {
    std::string text(pattern);
    text.replace(text.find("%s"), 2, value);
    return Error(text, kind, std::string(value));
}
}  // namespace detail

inline Error FileOpenError(std::string_view fileName) {
    return detail::FormatError("ﾌｧｲﾙ %s は開けません", fileName, ErrorKind::FileOpen);
}

inline Error FileCreateError(std::string_view fileName) {
    return detail::FormatError("ﾌｧｲﾙ %s を作成できません", fileName);
}

inline Error ListIndexError() {
    return Error("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています", ErrorKind::ListIndex);
}

// text: UTF-8, as the user should see the characters that were not a number.
inline Error NotIntegerError(std::string_view text) {
    return detail::FormatError("'%s' は整数ではありません", text);
}

// field: the label of a settings field; character: the one that Shift-JIS cannot hold. Both UTF-8.
inline Error UnencodableError(std::string_view field, std::string_view character) {
    std::string text(field);
    text.append(" に Shift-JIS で書けない文字「").append(character).append("」があります");
    return Error(text);
}

// field: the label of a setting that goes into the SMTP commands, UTF-8.
inline Error CommandCharacterError(std::string_view field) {
    return Error(std::string(field) + " に空白、<、> や制御文字は使えません");
}

// folder: the folder that a start from the desktop menu works in; reason: why it cannot.
inline Error MenuFolderError(std::string_view folder, std::string_view reason) {
    std::string text = detail::FormatError("ﾌｫﾙﾀﾞ %s を使えません", folder).what();
    text.append(": ").append(reason);
    return Error(text);
}

// The CA file of the submission settings cannot be used; reason in English, as the system
// gives it.
inline Error CaFileError(std::string_view fileName, std::string_view reason) {
    std::string text = detail::FormatError("CA ﾌｧｲﾙ %s を使えません", fileName).what();
    text.append(": ").append(reason);
    return Error(text);
}

// Sending is refused while the settings still hold the placeholders of a fresh installation;
// senderToo when the sender address is one of them as well. Named as the windows name them.
inline Error PlaceholderError(bool senderToo) {
    return Error(senderToo ? "送信先ドメインと Mail Address がまだ仮のままです。"
                             "環境設定(P)で設定してください"
                           : "送信先ドメインがまだ仮のままです。環境設定(P)で設定してください");
}

// A line of a settings file that holds a value the program cannot read. fileName, field and
// value: UTF-8; expected says what the line may hold.
inline Error SettingValueError(std::string_view fileName, std::string_view field,
                               std::string_view value, std::string_view expected) {
    std::string text("ﾌｧｲﾙ ");
    text.append(fileName).append(" の").append(field).append("「");
    text.append(CaretNotation(value)).append("」は").append(expected).append("ではありません");
    return Error(text);
}

// A UTF-8 file that begins with a byte-order mark, which no line of it may hold.
inline Error ByteOrderMarkError(std::string_view fileName) {
    return Error("ﾌｧｲﾙ " + std::string(fileName) +
                 " はバイト順マーク(BOM)で始まっています。BOM なしの UTF-8 で保存してください");
}

// The server setting names a port that is not one: "mail.example:0", "mail.example:",
// "[::1]x". server: UTF-8.
inline Error ServerPortError(std::string_view server) {
    return Error("SMTP Server「" + std::string(server) +
                 "」のポート番号は1～65535 の数ではありません");
}

// A login is set while the connection would be plain text: the password would go out in clear.
inline Error LoginWithoutTlsError() {
    return Error("暗号化なしではログインできません。暗号化を STARTTLS か SSL/TLS にしてください");
}

// A password that cannot go out as AUTH takes it: empty, or with a byte that ends or cuts it.
inline Error PasswordContentError(bool empty) {
    return Error(empty ? "パスワードが空です" : "パスワードに NUL、CR、LF は使えません");
}

// A login that SASL PLAIN cannot carry: a NUL would split it. fileName: the file that holds it,
// empty for a field.
inline Error LoginNulError(std::string_view fileName = {}) {
    return Error((fileName.empty() ? std::string() : "ﾌｧｲﾙ " + std::string(fileName) + " の") +
                 "ログイン名に NUL は使えません");
}

// A field of a window that holds a value the program cannot take. field, value: UTF-8;
// expected says what the field may hold.
inline Error FieldValueError(std::string_view field, std::string_view value,
                             std::string_view expected) {
    std::string text(field);
    text.append("「")
        .append(CaretNotation(value))
        .append("」は")
        .append(expected)
        .append("ではありません");
    return Error(text);
}

// The log file's own texts name the file as the program always does.
inline Error LogOpenError() {
    return Error("Log File <TVEMAIL.LOG> Open Error");
}

inline Error LogWriteError() {
    return Error("Log File <TVEMAIL.LOG> Write Error");
}

}  // namespace tarvelo
