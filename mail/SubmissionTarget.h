// Where and how a sending connects: the server setting's text read for a port of its own
// ("host:port", "[IPv6]:port"), with the submission settings over it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/Submission.h"

namespace tarvelo {

struct SubmissionTarget {
    std::string host;
    int port = kSmtpPort;
    Security security = Security::None;
    std::string login;
    std::string caFile;
};

// The settings' port wins over the server setting's, and 25 stands when neither names one;
// the security is the settings' own, else StartTls on 587, Tls on 465, None on any other port
// (EffectivePort, EffectiveSecurity). Raises ServerPortError as ParseServerAddress does.
SubmissionTarget ResolveSubmission(std::string_view server, const SubmissionSettings& settings);

// "host:port", or "[host]:port" for an IPv6 address, as messages name the server.
std::string HostAndPort(const SubmissionTarget& target);

}  // namespace tarvelo
