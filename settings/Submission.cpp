#include "settings/Submission.h"

#include "platform/ShiftJis.h"

namespace tarvelo {

std::string_view SecurityWord(Security security) {
    switch (security) {
        case Security::None:
            return "none";
        case Security::StartTls:
            return "starttls";
        case Security::Tls:
            return "tls";
    }
    return "none";
}

std::optional<Security> SecurityFromWord(std::string_view word) {
    for (const Security security : {Security::None, Security::StartTls, Security::Tls}) {
        if (word == SecurityWord(security)) {
            return security;
        }
    }
    return std::nullopt;
}

std::optional<int> PortFromText(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int port = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        port = port * 10 + (digit - '0');
        // Stops before any overflow, however many digits follow.
        if (port > kLastPort) {
            return std::nullopt;
        }
    }
    if (port == 0) {
        return std::nullopt;
    }
    return port;
}

std::string SecretServerName(std::string_view smtp) {
    return ShiftJisToUtf8(smtp);
}

bool IsClassic(const SubmissionSettings& settings) {
    return !settings.port && !settings.security && settings.login.empty() &&
           settings.caFile.empty();
}

}  // namespace tarvelo
