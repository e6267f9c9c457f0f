// The lines of the outgoing e-mail: fixed header lines, an empty line, the encoded body.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// The "Date: " value for when, "Sun, 06 Dec 2026 16:02:45 +0900": the time in Japan, whatever
// the machine's zone, English day and month names whatever the user's locale,
// always 31 characters. Thread-safe; leaves the global locale alone.
std::string MailDateText(std::time_t when);
std::string MailDateText();

// The six header lines as they stand (the header is never encoded), the empty line that ends
// the header, then each line of mailImage encoded in ISO-2022-JP. An empty sender or domain
// leaves its part of the line empty. Nothing is added to, removed from or merged in the body:
// a line of the mail image that the encoder could not carry whole (EncodesWhole, such as a TAB
// typed into the box by hand) raises Error with the message's "不正な文字がふくまれています".
std::vector<std::string> AssembleMailLines(std::string_view dateText, std::string_view sender,
                                           std::string_view firstDomain,
                                           const std::vector<std::string>& mailImage);

}  // namespace tarvelo
