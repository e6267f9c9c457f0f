// The Windows Credential Manager as the secret store: one generic credential per server and
// login, under the target "Tarvelo:" + login + "@" + server, which the user finds and removes
// in the Control Panel's Credential Manager (Windows Credentials, Generic Credentials).
//
// CRED_PERSIST_LOCAL_MACHINE despite its name: every credential belongs to one user, and this
// one is kept for that user's later logons on this computer. CRED_PERSIST_SESSION would lose it
// at the next logon, and CRED_PERSIST_ENTERPRISE would carry it with a roaming profile to other
// computers, where the user never asked to keep it.
#include <windows.h>
// Needs windows.h.
#include <wincred.h>

#include <string>

#include "platform/SecretStore.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

namespace {

std::wstring TargetName(std::string_view server, std::string_view login) {
    return WideFromUtf8("Tarvelo:" + std::string(login) + "@" + std::string(server));
}

}  // namespace

StoredPassword LookUpPassword(std::string_view server, std::string_view login,
                              const std::function<void()>& /*whileWaiting*/) {
    StoredPassword stored;
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(TargetName(server, login).c_str(), CRED_TYPE_GENERIC, 0, &credential)) {
        stored.result =
            GetLastError() == ERROR_NOT_FOUND ? SecretLookup::NotFound : SecretLookup::NoStore;
        return stored;
    }
    // The blob is the password's UTF-8 bytes, as StorePassword wrote them.
    stored.result = SecretLookup::Found;
    stored.password = SecretText(std::string_view(
        reinterpret_cast<const char*>(credential->CredentialBlob), credential->CredentialBlobSize));
    SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
    CredFree(credential);
    return stored;
}

bool StorePassword(std::string_view server, std::string_view login, std::string_view password) {
    std::wstring target = TargetName(server, login);
    std::wstring user = WideFromUtf8(login);
    SecretText blob(password);
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = user.data();
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    credential.CredentialBlobSize = static_cast<DWORD>(blob.view().size());
    credential.CredentialBlob =
        reinterpret_cast<LPBYTE>(const_cast<char*>(blob.empty() ? nullptr : blob.c_str()));
    return CredWriteW(&credential, 0) != FALSE;
}

std::string_view NoPasswordReason(SecretLookup result) {
    return result == SecretLookup::NoStore ? "the Credential Manager cannot be read"
                                           : "the Credential Manager keeps none for this server";
}

}  // namespace tarvelo
