#include "mail/SubmissionTarget.h"

#include "base/Error.h"
#include "platform/Files.h"

namespace tarvelo {

SubmissionTarget ResolveSubmission(std::string_view server, const SubmissionSettings& settings) {
    SubmissionTarget target;
    target.host = ParseServerAddress(server).host;
    target.port = EffectivePort(server, settings);
    target.security = EffectiveSecurity(server, settings);
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
