#include "mail/MailAssembly.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "base/Error.h"
#include "base/Version.h"
#include "compose/Composition.h"
#include "compose/HandsetText.h"
#include "mail/Iso2022Jp.h"
#include "platform/Clock.h"

namespace tarvelo {

namespace {

// The handsets and their gateways keep Japan time, which has had no daylight saving since
// 1951: the wall time there is always UTC + 9 hours, whatever zone this machine is set to.
constexpr const char* kDateFormat = "%a, %d %b %Y %H:%M:%S +0900";
constexpr std::time_t kJapanOffsetSeconds = 9 * 60 * 60;

}  // namespace

std::string MailDateText(std::time_t when) {
    return FormatUniversalTime(when + kJapanOffsetSeconds, kDateFormat);
}

std::string MailDateText() {
    return MailDateText(std::time(nullptr));
}

std::vector<std::string> AssembleMailLines(std::string_view dateText, std::string_view sender,
                                           std::string_view firstDomain,
                                           const std::vector<std::string>& mailImage) {
    // The composition refuses such lines; this one is typed into the mail image by hand.
    if (!std::all_of(mailImage.begin(), mailImage.end(), EncodesWhole)) {
        throw Error(std::string(MessageErrorText(MessageError::InvalidCharacter)));
    }
    std::vector<std::string> body;
    EncodeLinesIso2022Jp(mailImage, body);

    std::vector<std::string> lines;
    lines.reserve(7 + body.size());
    lines.push_back("X-Mailer: " + std::string(kVersionText));
    lines.push_back("Date: " + std::string(dateText));
    lines.push_back("From: " + std::string(sender));
    lines.push_back("To: tv@" + std::string(firstDomain));
    lines.push_back("Mime-Version: 1.0");
    lines.push_back("Content-Type: text/plain; charset=\"ISO-2022-JP\"");
    lines.emplace_back();
    for (std::string& line : body) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tarvelo
