#include "mail/SubmissionTarget.h"

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

std::string HostAndPort(const SubmissionTarget& target) {
    const bool v6 = target.host.find(':') != std::string::npos;
    return (v6 ? "[" + target.host + "]" : target.host) + ":" + std::to_string(target.port);
}

}  // namespace tarvelo
