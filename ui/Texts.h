// Every text that the windows of both front ends show, in one table: captions, hints,
// questions, buttons, states and the reasons of failures, in UTF-8. A front end turns them into
// its toolkit's strings at the boundary and never writes a text of its own; line breaks are the
// toolkit's business, so no text here is wrapped by hand.
#pragma once

#include <string_view>

namespace tarvelo::texts {

// The main window, the About box, a sending and its progress dialog, the password prompt.

// The password prompt's check box: the answer goes into the desktop's keyring.
inline constexpr std::string_view kSavePassword = "パスワードを保存する";
// The progress dialog's headline, and the prompt's first line, when the server refused the
// login; the server's reply follows.
inline constexpr std::string_view kLoginRefused = "ログインできませんでした";
inline constexpr std::string_view kLoginLabel = "ログイン名";

// The settings dialog, the domain editor and the submission dialog.

}  // namespace tarvelo::texts
