// The reply side of the SMTP conversation, driven as the main window drives it, on any sequence
// of reads that a server and the network could produce.
//
// Input: one byte of session options, then reads. A read is a header byte and its bytes: the
// header's high bit says that the connection was gone after the read (status <= 0), its low
// seven bits are the length. Length 127 stands for a full 1024-byte buffer of the one byte that
// follows, so that a short input can still run a reply past SmtpReplyReader::kMaxReply.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "mail/SmtpSession.h"

namespace {

using tarvelo::SmtpOutcome;
using tarvelo::SmtpState;
using tarvelo::SmtpStep;
using tarvelo::fuzz::Require;

constexpr std::size_t kFullBuffer = 1024;  // the window's receive buffer
constexpr unsigned kFullBufferLength = 0x7F;
constexpr unsigned kConnectionGone = 0x80;
constexpr unsigned kLengthBits = 0x7F;

bool IsState(SmtpState state) {
    switch (state) {
        case SmtpState::Greeting:
        case SmtpState::Helo:
        case SmtpState::Rset:
        case SmtpState::MailFrom:
        case SmtpState::RcptTo:
        case SmtpState::Data:
        case SmtpState::EndOfData:
        case SmtpState::Quit:
            return true;
    }
    return false;
}

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

// What holds for every step, whether a reply or a lost connection made it.
void CheckStep(SmtpState before, SmtpState after, const SmtpStep& step) {
    Require(IsOutcome(step.outcome), "the outcome is Success, Failure or Waiting");
    Require(IsState(after), "the state is one of the enum's values");
    if (step.outcome != SmtpOutcome::Waiting) {
        Require(step.linesToSend.empty(), "nothing is sent with the end of a session");
    }
    if (step.outcome == SmtpOutcome::Failure) {
        Require(after == before, "a rejected reply leaves the state as it was");
    }
    if (step.outcome == SmtpOutcome::Success) {
        Require(before == SmtpState::Quit, "only the reply to QUIT or a hang-up after it succeeds");
    }
    for (const std::string& line : step.linesToSend) {
        Require(line.find_first_of("\r\n") == std::string::npos,
                "a line to send holds no line end of its own");
    }
}

void CheckReplyStep(SmtpState before, SmtpState after, const SmtpStep& step) {
    CheckStep(before, after, step);
    if (step.outcome != SmtpOutcome::Waiting) {
        return;
    }
    Require(static_cast<int>(after) > static_cast<int>(before), "an accepted reply moves on");
    Require(!step.linesToSend.empty(), "an accepted reply gives the next command");
    if (before == SmtpState::Data) {
        const std::vector<std::string>& lines = step.linesToSend;
        Require(lines.size() == MailLines().size() + 1, "after 354 the mail, then the end marker");
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            Require(lines[i] != ".", "no body line reads as the end marker");
        }
        Require(lines.back() == ".", "the end marker closes the mail");
    }
}

// A reply as SmtpReplyReader promises it: the bytes of the reads since the last reply, whole.
void CheckReply(const std::string& reply, std::string_view fed, std::size_t& consumed) {
    Require(fed.substr(consumed) == reply, "a reply is exactly the bytes read since the last one");
    consumed = fed.size();
    if (reply.size() < tarvelo::SmtpReplyReader::kMaxReply) {
        Require(!reply.empty() && reply.back() == '\n', "a reply short of the limit ends in LF");
        const std::string_view lines(reply.data(), reply.size() - 1);
        const std::size_t lastBreak = lines.rfind('\n');
        const std::string_view last =
            lastBreak == std::string_view::npos ? lines : lines.substr(lastBreak + 1);
        const bool continued =
            last.size() >= 4 && last[3] == '-' && last.find_first_not_of("0123456789") == 3;
        Require(!continued, "a reply does not end in a continuation line");
    }
    const std::string_view trimmed = tarvelo::TrimReply(reply);
    Require(std::string_view(reply).starts_with(trimmed), "the logged reply is a prefix");
    Require(trimmed.empty() || static_cast<unsigned char>(trimmed.back()) > 32,
            "the logged reply has no trailing blanks or controls");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) {
        return 0;
    }
    const auto options = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    const tarvelo::SmtpSettings settings{.userName = (options & 1) != 0 ? "" : "taro@example.ne.jp",
                                         .gatewayDomain = (options & 2) != 0 ? "" : "pdx.ne.jp"};

    tarvelo::SmtpReplyReader reader;
    SmtpState state = SmtpState::Greeting;
    std::string fed;
    std::size_t consumed = 0;
    bool ended = false;
    while (!ended && !input.empty()) {
        const auto header = static_cast<unsigned char>(input.front());
        input.remove_prefix(1);
        const bool connectionGone = (header & kConnectionGone) != 0;
        const unsigned length = header & kLengthBits;
        std::string read;
        if (length == kFullBufferLength) {
            read.assign(kFullBuffer, input.empty() ? ' ' : input.front());
            input.remove_prefix(input.empty() ? 0 : 1);
        } else {
            read.assign(input.substr(0, length));
            input.remove_prefix(read.size());
        }
        fed += read;

        if (const std::optional<std::string> reply = reader.Add(read)) {
            CheckReply(*reply, fed, consumed);
            // A code that is no number raises in the window: its box is shown, the rest of the
            // tick is skipped, and the next tick reads on (and sees a gone connection again).
            if (const std::optional<int> code = tarvelo::ReplyCode(*reply)) {
                Require(*code >= -99 && *code <= 999, "a code of three characters at most");
                const SmtpState before = state;
                const SmtpStep step = tarvelo::OnReply(state, *code, settings, MailLines());
                CheckReplyStep(before, state, step);
                ended = step.outcome != SmtpOutcome::Waiting;
            }
        }
        if (!ended && connectionGone) {
            const SmtpStep step = tarvelo::OnConnectionLost(state);
            CheckStep(state, state, step);
            Require(step.outcome != SmtpOutcome::Waiting, "a lost connection ends the session");
            ended = true;
        }
    }
    return 0;
}
