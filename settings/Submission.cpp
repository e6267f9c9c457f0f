#include "settings/Submission.h"

#include "base/Error.h"
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

ServerAddress ParseServerAddress(std::string_view server) {
    if (server.starts_with('[')) {
        const std::size_t close = server.find(']');
        if (close != std::string_view::npos) {
            const std::string_view host = server.substr(1, close - 1);
            const std::string_view rest = server.substr(close + 1);
            if (rest.empty()) {
                return {std::string(host), std::nullopt};
            }
            if (rest.starts_with(':')) {
                if (const std::optional<int> port = PortFromText(rest.substr(1))) {
                    return {std::string(host), port};
                }
            }
        }
        throw ServerPortError(ShiftJisToUtf8(server));
    }
    const std::size_t colon = server.find(':');
    if (colon != std::string_view::npos && server.find(':', colon + 1) == std::string_view::npos) {
        if (const std::optional<int> port = PortFromText(server.substr(colon + 1))) {
            return {std::string(server.substr(0, colon)), port};
        }
        throw ServerPortError(ShiftJisToUtf8(server));
    }
    return {std::string(server), std::nullopt};
}

int EffectivePort(std::string_view server, const SubmissionSettings& settings) {
    return settings.port.value_or(ParseServerAddress(server).port.value_or(kSmtpPort));
}

Security EffectiveSecurity(std::string_view server, const SubmissionSettings& settings) {
    if (settings.security) {
        return *settings.security;
    }
    switch (EffectivePort(server, settings)) {
        case kSubmissionPort:
            return Security::StartTls;
        case kSubmissionsPort:
            return Security::Tls;
        default:
            return Security::None;
    }
}

void RefuseLoginWithoutTls(std::string_view server, const SubmissionSettings& settings) {
    if (!settings.login.empty() && EffectiveSecurity(server, settings) == Security::None) {
        throw LoginWithoutTlsError();
    }
}

void CheckPassword(std::string_view password) {
    if (password.empty()) {
        throw PasswordContentError(true);
    }
    if (password.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) {
        throw PasswordContentError(false);
    }
}

void CheckLogin(std::string_view login) {
    if (login.find('\0') != std::string_view::npos) {
        throw LoginNulError();
    }
}

bool IsClassic(const SubmissionSettings& settings) {
    return !settings.port && !settings.security && settings.login.empty() &&
           settings.caFile.empty();
}

}  // namespace tarvelo
