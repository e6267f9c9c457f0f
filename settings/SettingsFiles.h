// The names and default contents of the settings files.
#pragma once

#include <array>
#include <string_view>

namespace tarvelo {

// Both in the working directory.
inline constexpr std::string_view kSettingsFileName = "tvemail.ini";  // sender, server, reply no.
inline constexpr std::string_view kDomainFileName = "tvdomain.ini";   // gateway in use first
// Port, security, login, CA file; exists only once the user has set one of them, and has no
// defaults: a missing file is the classic conversation.
inline constexpr std::string_view kSubmitFileName = "tvsubmit.ini";

// Written when "tvemail.ini" is missing. The sender is a reserved documentation address
// (RFC 2606), so that a fresh installation never mails as anybody real; the text after "@"
// is what the sending greets the server with.
inline constexpr std::string_view kDefaultSender = "tarvelo@example.com";
inline constexpr std::string_view kDefaultSmtpServer = "mail";
inline constexpr std::string_view kDefaultReplyNumber = "";

// Written when "tvdomain.ini" is missing: one gateway per region of the carrier, in the order
// central, Kansai, Tohoku, Tokai, Chugoku. Placeholders under the reserved top-level name
// ".example" (RFC 2606, RFC 6761): the user enters the real gateways with the domain editor.
inline constexpr std::array<std::string_view, 5> kDefaultDomains{
    "central.phs.example", "kansai.phs.example",  "tohoku.phs.example",
    "tokai.phs.example",   "chugoku.phs.example",
};

}  // namespace tarvelo
