// The SMTP conversation driver that the window runs, on any sequence of reads, hang-ups,
// failures and silences that a server, the network and the clock could produce.
//
// Input: one byte of session options, then reads. A read is a header byte, a byte of seconds
// passed since the read before, and for bytes the bytes themselves. The header's two high bits
// are the kind (bytes, nothing, closed, failed), its low six bits the length of the bytes;
// length 63 stands for a full 1024-byte read of the one byte that follows, so that a short input
// can still run a reply past SmtpReplyReader::kMaxReply.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "mail/SmtpConversation.h"

namespace {

using tarvelo::SmtpActions;
using tarvelo::SmtpClock;
using tarvelo::SmtpConversation;
using tarvelo::SmtpOutcome;
using tarvelo::SmtpRead;
using tarvelo::SmtpState;
using tarvelo::fuzz::Require;

constexpr std::size_t kFullRead = 1024;  // the window's read size
constexpr unsigned kFullReadLength = 0x3F;
constexpr unsigned kLengthBits = 0x3F;

bool IsOutcome(SmtpOutcome outcome) {
    switch (outcome) {
        case SmtpOutcome::Waiting:
        case SmtpOutcome::Success:
        case SmtpOutcome::Failure:
            return true;
    }
    return false;
}

// A body with the lines that transparency is about: lone dots and lines that begin with one.
const std::vector<std::string>& MailLines() {
    static const std::vector<std::string> lines = {
        "Subject: test", "", ".", "..", ".MSG=", "PHSNO=07012345678", "MSG=\x1B$B%F%9%H\x1B(J"};
    return lines;
}

// The wire is whole lines; after the mail's lines, the end marker and nothing that reads as one
// before it.
void CheckWire(const std::string& wire, SmtpState before) {
    Require(wire.empty() || wire.ends_with("\r\n"), "every line on the wire ends in CR LF");
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < wire.size();) {
        const std::size_t end = wire.find("\r\n", at);
        const std::string_view line(wire.data() + at, end - at);
        Require(line.find_first_of("\r\n") == std::string_view::npos,
                "a line holds no line end of its own");
        lines.push_back(line);
        at = end + 2;
    }
    if (before == SmtpState::Data && !wire.empty()) {
        Require(lines.size() == MailLines().size() + 1, "after 354 the mail, then the end marker");
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            Require(lines[i] != ".", "no body line reads as the end marker");
        }
        Require(lines.back() == ".", "the end marker closes the mail");
    } else {
        Require(lines.size() <= 1, "one command a step before the mail");
    }
}

void CheckActions(const SmtpActions& actions, SmtpState before, std::string_view pending) {
    Require(IsOutcome(actions.outcome), "the outcome is Success, Failure or Waiting");
    CheckWire(actions.wire, before);
    if (actions.outcome != SmtpOutcome::Waiting) {
        Require(actions.wire.empty(), "nothing is sent with the end of a sending");
    }
    if (actions.outcome == SmtpOutcome::Success) {
        Require(before == SmtpState::Quit, "only what follows QUIT ends in success");
        Require(actions.state == "", "success leaves State empty");
    }
    if (actions.notANumber) {
        Require(before != SmtpState::Quit, "no box once the mail is delivered");
        Require(actions.outcome == SmtpOutcome::Failure, "the box ends the sending");
        Require(actions.log.empty(), "an unreadable reply is not logged");
    }
    for (const std::string& entry : actions.log) {
        const bool received = entry.starts_with(" R:");
        Require(received || entry.starts_with(" S:"), "a log entry is a line sent or received");
        if (received) {
            const std::string_view text = std::string_view(entry).substr(3);
            Require(pending.starts_with(text), "the logged reply is the start of what was read");
            Require(text.find('\0') == std::string_view::npos, "no zero byte in the log");
            Require(text.empty() || static_cast<unsigned char>(text.back()) > 32,
                    "the logged reply has no trailing blanks or controls");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) {
        return 0;
    }
    const auto options = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    SmtpConversation conversation({.userName = (options & 1) != 0 ? "" : "taro@example.ne.jp",
                                   .gatewayDomain = (options & 2) != 0 ? "" : "pdx.ne.jp"},
                                  MailLines());

    SmtpClock::time_point now{};
    std::string pending;  // the bytes read since the last reply
    while (input.size() >= 2) {
        const auto header = static_cast<unsigned char>(input[0]);
        now += std::chrono::seconds(static_cast<unsigned char>(input[1]));
        input.remove_prefix(2);
        SmtpRead read{static_cast<SmtpRead::Kind>(header >> 6), {}};
        std::string bytes;
        if (read.kind == SmtpRead::Kind::Bytes) {
            const unsigned length = header & kLengthBits;
            if (length == kFullReadLength) {
                bytes.assign(kFullRead, input.empty() ? ' ' : input.front());
                input.remove_prefix(input.empty() ? 0 : 1);
            } else {
                bytes.assign(input.substr(0, length));
                input.remove_prefix(bytes.size());
            }
            read.bytes = bytes;
        }

        const SmtpState before = conversation.State();
        const SmtpOutcome ended = conversation.Outcome();
        const std::optional<SmtpClock::time_point> deadline = conversation.Deadline();
        pending += bytes;
        const SmtpActions actions = conversation.Take(read, now);
        if (ended != SmtpOutcome::Waiting) {
            Require(actions.outcome == ended && actions.wire.empty() && actions.log.empty() &&
                        !actions.state && !actions.notANumber,
                    "an ended conversation does nothing more");
            continue;
        }
        CheckActions(actions, before, pending);
        if (!actions.log.empty() || actions.notANumber) {
            pending.clear();
        }
        if (read.kind == SmtpRead::Kind::Closed || read.kind == SmtpRead::Kind::Failed ||
            (deadline && now >= *deadline)) {
            Require(actions.outcome != SmtpOutcome::Waiting,
                    "a lost connection or an overdue reply ends the sending");
        }
        if (const std::optional<SmtpClock::time_point> next = conversation.Deadline()) {
            Require(*next <= now + tarvelo::kReplyTimeout,
                    "no wait is longer than the reply bound");
        }
        Require(conversation.Outcome() == actions.outcome, "the outcome is the one returned");
    }
    return 0;
}
