#include "settings/win32/SubmitPassword.h"

#include "platform/SecretStore.h"
#include "settings/win32/PasswordDialog.h"
#include "ui/ErrorPath.h"

namespace tarvelo {

PasswordSource& SubmitPasswords() {
    // The Credential Manager is this computer's own, and answers at once.
    static PasswordSource source(
        {.lookUp = [](std::string_view server,
                      std::string_view login) { return LookUpPassword(server, login); },
         .store = StorePassword});
    return source;
}

PasswordPrompt PasswordQuestion(HWND owner) {
    return [owner](const PasswordPromptText& text) -> std::optional<PromptAnswer> {
        if (!text.problem.empty()) {
            ShowErrorBox(text.problem);
        }
        TPasswordDialog dialog(owner);
        win32::SetText(dialog.Label2, text.refusal);
        win32::SetText(dialog.Label1, text.question);
        win32::SetText(dialog.Login, text.login);
        SendMessageW(dialog.Remember, BM_SETCHECK, text.saveChecked ? BST_CHECKED : BST_UNCHECKED,
                     0);
        if (dialog.ShowModal() != IDOK) {
            return std::nullopt;
        }
        const bool save = SendMessageW(dialog.Remember, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return PromptAnswer{win32::TakeSecretText(dialog.Password), save};
    };
}

}  // namespace tarvelo
