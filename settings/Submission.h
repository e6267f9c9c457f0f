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

inline constexpr int kSmtpPort = 25;
inline constexpr int kSubmissionPort = 587;   // RFC 6409, STARTTLS
inline constexpr int kSubmissionsPort = 465;  // RFC 8314, TLS from the first byte

// The server setting's parts. A name or a dotted address alone, as every setting was before
// ports could be named, stays whole and has no port; so does an IPv6 address alone (several
// colons without brackets). Raises ServerPortError when the setting names a port that is not
// 1 to 65535 ("mail.example:0", "mail.example:", "[::1]x"): a sending must not go to port 25
// of a host by another name instead.
struct ServerAddress {
    std::string host;
    std::optional<int> port;
};
ServerAddress ParseServerAddress(std::string_view server);

// The port a sending connects to: the settings' own, else the server setting's, else 25.
int EffectivePort(std::string_view server, const SubmissionSettings& settings);
// The settings' security, else StartTls on 587, Tls on 465, None on any other port.
Security EffectiveSecurity(std::string_view server, const SubmissionSettings& settings);

// Raises LoginWithoutTlsError when there is a login and the connection would be plain text:
// known before connecting, so that nothing is sent and no password is asked for; the
// submission dialog's OK refuses such settings alike.
void RefuseLoginWithoutTls(std::string_view server, const SubmissionSettings& settings);

// Raises PasswordContentError for a password that is empty or holds NUL, CR or LF: AUTH would
// carry an empty password, or a NUL would move the split of SASL PLAIN and a line end end the
// command early. Checked before connecting.
void CheckPassword(std::string_view password);

// Raises LoginNulError for a login that holds a NUL, which SASL PLAIN takes for a separator.
void CheckLogin(std::string_view login);

// Whether nothing differs from the classic conversation's settings.
bool IsClassic(const SubmissionSettings& settings);

}  // namespace tarvelo
