// Where and how a sending connects: the server setting's text read for a port of its own
// ("host:port", "[IPv6]:port"), with the submission settings over it.
#pragma once

#include <cstddef>
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

// Bigger than any bundle of CAs a user would name.
inline constexpr std::size_t kMaxCaFileBytes = std::size_t{1} << 20;

// The CA file's bytes for a sending over TLS, read at once and before connecting: opened
// without waiting and read only as a regular file of at most kMaxCaFileBytes, so that a pipe
// or a device never holds a sending. Empty without a CA file or without TLS. Raises
// CaFileError naming the file and why otherwise.
std::string ReadCaFile(const SubmissionTarget& target);

// "host:port", or "[host]:port" for an IPv6 address, as messages name the server.
std::string HostAndPort(const SubmissionTarget& target);

}  // namespace tarvelo
