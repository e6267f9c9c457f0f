// Where and how a sending connects: the server setting's text read for a port of its own
// ("host:port", "[IPv6]:port"), with the submission settings over it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/Submission.h"

namespace tarvelo {

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

struct SubmissionTarget {
    std::string host;
    int port = kSmtpPort;
    Security security = Security::None;
    std::string login;
    std::string caFile;
};

// The settings' port wins over the server setting's, and 25 stands when neither names one;
// the security is the settings' own, else StartTls on 587, Tls on 465, None on any other port.
SubmissionTarget ResolveSubmission(std::string_view server, const SubmissionSettings& settings);

// Raises LoginWithoutTlsError when the target has a login and no TLS: known before connecting,
// so that nothing is sent and no password is asked for.
void RefuseLoginWithoutTls(const SubmissionTarget& target);

// Raises PasswordContentError for a password that is empty or holds NUL, CR or LF: AUTH would
// carry an empty password, or a NUL would move the split of SASL PLAIN and a line end end the
// command early. Checked before connecting.
void CheckPassword(std::string_view password);

// "host:port", or "[host]:port" for an IPv6 address, as messages name the server.
std::string HostAndPort(const SubmissionTarget& target);

}  // namespace tarvelo
