// How the mail reaches the server beyond the classic plain connection on port 25: the port, the
// security of the connection, the login and a CA file of the user's own. Kept in a third
// settings file beside the other two, which exists only once the user has set one of them, so
// that a folder of the classic kind keeps the classic conversation byte for byte.
#pragma once

#include <optional>
#include <string>

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

}  // namespace tarvelo
