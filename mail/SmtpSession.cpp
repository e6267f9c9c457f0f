#include "mail/SmtpSession.h"

#include <utility>

namespace tarvelo {

namespace {

// The one place where the conversation moves on: the next state, and the command whose reply
// it awaits.
SmtpStep Advance(SmtpState& state, SmtpState next, std::vector<std::string> lines) {
    state = next;
    return {std::move(lines), SmtpOutcome::Waiting};
}

SmtpStep Reject() {
    return {{}, SmtpOutcome::Failure};
}

// The sender's mail domain names the client in HELO; an address without "@" names it whole.
std::string HeloLine(const std::string& userName) {
    const std::size_t at = userName.find('@');
    return "HELO " + (at == std::string::npos ? userName : userName.substr(at + 1));
}

std::vector<std::string> DataLines(const std::vector<std::string>& mailLines) {
    std::vector<std::string> lines;
    lines.reserve(mailLines.size() + 1);
    for (const std::string& line : mailLines) {
        lines.push_back(StuffDot(line));
    }
    lines.push_back(".");
    return lines;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "250-" begins a line that another follows (RFC 5321 4.2.1).
bool IsContinuationLine(std::string_view line) {
    return line.size() >= 4 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]) &&
           line[3] == '-';
}

}  // namespace

SmtpStep OnReply(SmtpState& state, int code, const SmtpSettings& settings,
                 const std::vector<std::string>& mailLines) {
    switch (state) {
        case SmtpState::Greeting:
            if (code != 220) {
                return Reject();
            }
            return Advance(state, SmtpState::Helo, {HeloLine(settings.userName)});
        case SmtpState::Helo:
            if (code != 250) {
                return Reject();
            }
            return Advance(state, SmtpState::Rset, {"RSET"});
        case SmtpState::Rset:
            if (code != 250) {
                return Reject();
            }
            return Advance(state, SmtpState::MailFrom, {"MAIL FROM:<" + settings.userName + ">"});
        case SmtpState::MailFrom:
            if (code != 250) {
                return Reject();
            }
            return Advance(state, SmtpState::RcptTo,
                           {"RCPT TO:<tv@" + settings.gatewayDomain + ">"});
        case SmtpState::RcptTo:
            // 251: not local, but the server will forward it.
            if (code != 250 && code != 251) {
                return Reject();
            }
            return Advance(state, SmtpState::Data, {"DATA"});
        case SmtpState::Data:
            if (code != 354) {
                return Reject();
            }
            return Advance(state, SmtpState::EndOfData, DataLines(mailLines));
        case SmtpState::EndOfData:
            if (code != 250) {
                return Reject();
            }
            return Advance(state, SmtpState::Quit, {"QUIT"});
        case SmtpState::Quit:
            // The mail was taken at the end of the data; what QUIT gets back changes nothing.
            return {{}, SmtpOutcome::Success};
    }
    return {};  // a value that no state has, such as 6: nothing to do
}

SmtpStep OnConnectionLost(SmtpState state) {
    if (state == SmtpState::Quit) {
        return {{}, SmtpOutcome::Success};
    }
    return Reject();
}

std::string FrameLine(std::string_view line) {
    std::string framed;
    framed.reserve(line.size() + 2);
    framed.append(line);
    framed.append("\r\n");
    return framed;
}

std::string StuffDot(std::string_view line) {
    std::string stuffed;
    stuffed.reserve(line.size() + 1);
    if (line.starts_with('.')) {
        stuffed.push_back('.');
    }
    stuffed.append(line);
    return stuffed;
}

std::string_view ReplyCodeText(std::string_view reply) {
    return reply.substr(0, 3);
}

std::optional<int> ReplyCode(std::string_view reply) {
    std::string_view text = ReplyCodeText(reply);
    while (text.starts_with(' ')) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string_view TrimReply(std::string_view reply) {
    while (!reply.empty() && static_cast<unsigned char>(reply.back()) <= 32) {
        reply.remove_suffix(1);
    }
    return reply;
}

std::optional<std::string> SmtpReplyReader::Add(std::string_view bytes) {
    kept_.append(bytes);
    if (kept_.size() < kMaxReply) {
        if (kept_.empty() || kept_.back() != '\n') {
            return std::nullopt;
        }
        const std::string_view lines(kept_.data(), kept_.size() - 1);
        const std::size_t lastBreak = lines.rfind('\n');
        const std::string_view lastLine =
            lastBreak == std::string_view::npos ? lines : lines.substr(lastBreak + 1);
        if (IsContinuationLine(lastLine)) {
            return std::nullopt;
        }
    }
    return std::exchange(kept_, {});
}

}  // namespace tarvelo
