#include "mail/SubmissionTarget.h"

#include "base/Error.h"
#include "platform/Files.h"

namespace tarvelo {

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
        return {std::string(server), std::nullopt};
    }
    const std::size_t colon = server.find(':');
    if (colon != std::string_view::npos && server.find(':', colon + 1) == std::string_view::npos) {
        if (const std::optional<int> port = PortFromText(server.substr(colon + 1))) {
            return {std::string(server.substr(0, colon)), port};
        }
    }
    return {std::string(server), std::nullopt};
}

SubmissionTarget ResolveSubmission(std::string_view server, const SubmissionSettings& settings) {
    ServerAddress address = ParseServerAddress(server);
    SubmissionTarget target;
    target.host = std::move(address.host);
    target.port = settings.port.value_or(address.port.value_or(kSmtpPort));
    if (settings.security) {
        target.security = *settings.security;
    } else if (target.port == kSubmissionPort) {
        target.security = Security::StartTls;
    } else if (target.port == kSubmissionsPort) {
        target.security = Security::Tls;
    }
    target.login = settings.login;
    target.caFile = settings.caFile;
    return target;
}

std::string ReadCaFile(const SubmissionTarget& target) {
    if (target.caFile.empty() || target.security == Security::None) {
        return {};
    }
    std::string why;
    std::optional<std::string> bytes = ReadRegularFile(target.caFile, kMaxCaFileBytes, why);
    if (!bytes) {
        throw CaFileError(target.caFile, why);
    }
    if (bytes->empty()) {
        throw CaFileError(target.caFile, "the file is empty");
    }
    return std::move(*bytes);
}

std::string HostAndPort(const SubmissionTarget& target) {
    const bool v6 = target.host.find(':') != std::string::npos;
    return (v6 ? "[" + target.host + "]" : target.host) + ":" + std::to_string(target.port);
}

}  // namespace tarvelo
