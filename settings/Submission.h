// How the mail reaches the server beyond the classic plain connection on port 25: the port, the
// security of the connection, the login and a CA file of the user's own. Kept in a third
// settings file beside the other two, which exists only once the user has set one of them, so
// that a folder of the classic kind keeps the classic conversation byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

enum class Security {
    None,      // plain text throughout, as on port 25 always
    StartTls,  // EHLO, STARTTLS (required: never carried on in plain text), EHLO again
    Tls,       // TLS from the first byte
};

struct SubmissionSettings {
    // None: the port the server setting names after ":" or "]:", else 25.
    std::optional<int> port;
    // None: from the port: 587 StartTls, 465 Tls, any other None.
    std::optional<Security> security;
    // Empty: no AUTH. Never the password: that is asked for or kept in the secret store.
    std::string login;
    // Empty: the system's trust store alone. Otherwise a PEM file of CAs trusted as well.
    std::string caFile;
};

// Unlike its two siblings, whose values are Shift-JIS, "tvsubmit.ini" holds UTF-8 and path
// bytes: the login goes to the server as SASL wants it (RFC 4616: UTF-8), and the CA file is
// opened by the name the file system gives it.

// The words of the security line and of tarvelo-send's --security: "none", "starttls", "tls".
std::string_view SecurityWord(Security security);
// None for anything else, case and blanks included: a word that is not understood is never
// taken for another.
std::optional<Security> SecurityFromWord(std::string_view word);

inline constexpr int kLastPort = 65535;

// A port written as decimal digits alone, 1 to kLastPort; None for anything else (a sign, a blank,
// 0, a number too large).
std::optional<int> PortFromText(std::string_view text);

// The "server" under which the secret store keeps the password: the SMTP Server setting as the
// user wrote it (Shift-JIS, like its file), in UTF-8 as the store wants its attributes.
std::string SecretServerName(std::string_view smtp);

// Whether nothing differs from the classic conversation's settings.
bool IsClassic(const SubmissionSettings& settings);

}  // namespace tarvelo
