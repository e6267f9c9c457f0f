#include "mail/SmtpConversation.h"

#include <utility>

namespace tarvelo {

namespace {

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

}  // namespace

SmtpConversation::SmtpConversation(SmtpSettings settings, std::vector<std::string> mailLines)
    : settings_(std::move(settings)),
      mailLines_(std::move(mailLines)),
      replyTimeout_(replyTimeout) {}

SmtpActions SmtpConversation::Take(const SmtpRead& read, SmtpClock::time_point now) {
    if (outcome_ != SmtpOutcome::Waiting) {
        SmtpActions nothing;
        nothing.outcome = outcome_;
        return nothing;
    }
    // A reply still open at its deadline ends the sending, whatever this read brought.
    if (deadline_ && now >= *deadline_) {
        return Lost();
    }
    switch (read.kind) {
        case SmtpRead::Kind::Bytes:
            if (read.bytes.empty()) {
                return {};
            }
            if (!deadline_) {
                deadline_ = now + replyTimeout_;
            }
            if (std::optional<std::string> reply = reader_.Add(read.bytes)) {
                deadline_.reset();
                return Judge(*reply, now);
            }
            return {};
        case SmtpRead::Kind::Nothing:
            return {};
        case SmtpRead::Kind::Closed:
        case SmtpRead::Kind::Failed:
            return Lost();
    }
    return {};
}

SmtpActions SmtpConversation::Judge(std::string_view reply, SmtpClock::time_point now) {
    SmtpActions actions;
    // The reply is the text up to its first zero byte, as a C string ends.
    reply = reply.substr(0, reply.find('\0'));
    const std::optional<int> code = ReplyCode(reply);
    if (!code) {
        if (state_ == SmtpState::Quit) {
            return End(std::move(actions), SmtpOutcome::Success);
        }
        // Shown once: the sending ends with it, so that a server sending garbage cannot open
        // box after box.
        actions.notANumber = std::string(ReplyCodeText(reply));
        return End(std::move(actions), SmtpOutcome::Failure);
    }
    const std::string_view trimmed = TrimReply(reply);
    actions.log.push_back(" R:" + std::string(trimmed));
    actions.state = "R:" + std::string(trimmed);

    // Each state names the codes it accepts; any other code is the error end, and the
    // rejected reply stays in State.
    switch (state_) {
        case SmtpState::Greeting:
            if (code != 220) {
                break;
            }
            Advance(SmtpState::Helo, {HeloLine(settings_.userName)}, actions, now);
            return actions;
        case SmtpState::Helo:
            if (code != 250) {
                break;
            }
            Advance(SmtpState::Rset, {"RSET"}, actions, now);
            return actions;
        case SmtpState::Rset:
            if (code != 250) {
                break;
            }
            Advance(SmtpState::MailFrom, {"MAIL FROM:<" + settings_.userName + ">"}, actions, now);
            return actions;
        case SmtpState::MailFrom:
            if (code != 250) {
                break;
            }
            Advance(SmtpState::RcptTo, {"RCPT TO:<tv@" + settings_.gatewayDomain + ">"}, actions,
                    now);
            return actions;
        case SmtpState::RcptTo:
            // 251: not local, but the server will forward it.
            if (code != 250 && code != 251) {
                break;
            }
            Advance(SmtpState::Data, {"DATA"}, actions, now);
            return actions;
        case SmtpState::Data:
            if (code != 354) {
                break;
            }
            Advance(SmtpState::EndOfData, DataLines(mailLines_), actions, now);
            return actions;
        case SmtpState::EndOfData:
            if (code != 250) {
                break;
            }
            Advance(SmtpState::Quit, {"QUIT"}, actions, now);
            return actions;
        case SmtpState::Quit:
            // The mail was taken at the end of the data; what QUIT gets back changes nothing.
            return End(std::move(actions), SmtpOutcome::Success);
    }
    return End(std::move(actions), SmtpOutcome::Failure);
}

void SmtpConversation::Advance(SmtpState next, const std::vector<std::string>& lines,
                               SmtpActions& actions, SmtpClock::time_point now) {
    state_ = next;
    for (const std::string& line : lines) {
        actions.wire += FrameLine(line);
        actions.log.push_back(" S:" + line);
    }
    actions.state = "S:" + lines.back();
    if (next == SmtpState::Quit) {
        // Delivered: even a server that never answers QUIT must not hide that.
        deadline_ = now + replyTimeout_;
    }
}

SmtpActions SmtpConversation::Lost() {
    // After the end of the data the server has taken the mail and may simply hang up.
    return End({}, state_ == SmtpState::Quit ? SmtpOutcome::Success : SmtpOutcome::Failure);
}

SmtpActions SmtpConversation::End(SmtpActions actions, SmtpOutcome outcome) {
    outcome_ = outcome;
    deadline_.reset();
    actions.outcome = outcome;
    if (outcome == SmtpOutcome::Success) {
        actions.state = std::string();
    }
    return actions;
}

}  // namespace tarvelo
