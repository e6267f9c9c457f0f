#include "mail/SmtpConversation.h"

#include <algorithm>
#include <utility>

#include "platform/ShiftJis.h"

namespace tarvelo {

namespace {

// The sender's mail domain names the client in HELO; an address without "@" names it whole.
std::string ClientName(const std::string& userName) {
    const std::size_t at = userName.find('@');
    return at == std::string::npos ? userName : userName.substr(at + 1);
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

// What the log and State show of a line that carries credentials.
constexpr const char* kMasked = "****";

SendEnd EndOf(SendEndKind kind, std::string detail) {
    return {.kind = kind, .detail = std::move(detail)};
}

// The server's reply as an end's detail.
std::string ReplyDetail(std::string_view reply) {
    return ShiftJisToUtf8(std::string(TrimReply(reply)));
}

// An end that the server's reply tells.
SendEnd ReplyEnd(SendEndKind kind, std::string_view reply) {
    return {.kind = kind, .detail = ReplyDetail(reply), .byReply = true};
}

}  // namespace

SmtpConversation::SmtpConversation(SmtpSettings settings, std::vector<std::string> mailLines,
                                   std::chrono::milliseconds replyTimeout)
    : settings_(std::move(settings)), replyTimeout_(replyTimeout) {
    mails_.push_back(std::move(mailLines));
}

SmtpConversation::SmtpConversation(SmtpSettings settings,
                                   std::vector<std::vector<std::string>> mails,
                                   SmtpSubmission submission,
                                   std::chrono::milliseconds replyTimeout)
    : settings_(std::move(settings)),
      mails_(std::move(mails)),
      submission_(std::move(submission)),
      replyTimeout_(replyTimeout) {}

SmtpActions SmtpConversation::Take(const SmtpRead& read, SmtpClock::time_point now) {
    if (outcome_ != SmtpOutcome::Waiting) {
        SmtpActions nothing;
        nothing.outcome = outcome_;
        return nothing;
    }
    // A reply still open at its deadline ends the sending, whatever this read brought.
    if (deadline_ && now >= *deadline_) {
        return Lost({SmtpRead::Kind::Nothing, {}});
    }
    tls_ = read.tls;
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
        case SmtpRead::Kind::SendFailed:
        case SmtpRead::Kind::NotTaken:
        case SmtpRead::Kind::NoReply:
        case SmtpRead::Kind::TlsFailed:
        case SmtpRead::Kind::HandshakeOverdue:
            return Lost(read);
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
            return End(std::move(actions),
                       anyRefused_ ? SmtpOutcome::Failure : SmtpOutcome::Success);
        }
        // Shown once: the sending ends with it, so that a server sending garbage cannot open
        // box after box.
        actions.notANumber = std::string(ReplyCodeText(reply));
        return End(std::move(actions), SmtpOutcome::Failure,
                   ReplyEnd(SendEndKind::NotANumber, reply));
    }
    const std::string_view trimmed = TrimReply(reply);
    lastReply_ = ShiftJisToUtf8(std::string(trimmed));
    actions.log.push_back(" R:" + std::string(trimmed));
    actions.state = "R:" + std::string(trimmed);

    // Each state names the codes it accepts; any other code is a refusal, and the rejected
    // reply stays in State.
    switch (state_) {
        case SmtpState::Greeting:
            if (code != 220) {
                break;
            }
            if (submission_.security == Security::None && submission_.login.empty()) {
                Advance(SmtpState::Helo, {"HELO " + ClientName(settings_.userName)}, actions, now);
            } else {
                Advance(SmtpState::Ehlo, {"EHLO " + ClientName(settings_.userName)}, actions, now);
            }
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
            Advance(SmtpState::EndOfData, DataLines(mails_[mail_]), actions, now);
            return actions;
        case SmtpState::EndOfData:
            if (code != 250) {
                break;
            }
            NextMail(ReplyEnd(SendEndKind::Delivered, reply), actions, now);
            return actions;
        case SmtpState::Quit:
            // The mails were taken at their ends of data; what QUIT gets back changes nothing.
            return End(std::move(actions),
                       anyRefused_ ? SmtpOutcome::Failure : SmtpOutcome::Success);
        case SmtpState::Ehlo:
        case SmtpState::StartTls:
        case SmtpState::AuthPlain:
        case SmtpState::AuthLogin:
        case SmtpState::AuthLoginName:
        case SmtpState::AuthLoginPassword:
            if (JudgeSubmission(*code, reply, actions, now)) {
                return actions;
            }
            break;
    }
    return Refused(std::move(actions), *code, reply, now);
}

bool SmtpConversation::JudgeSubmission(int code, std::string_view reply, SmtpActions& actions,
                                       SmtpClock::time_point now) {
    switch (state_) {
        case SmtpState::Ehlo:
            if (code != 250) {
                return false;
            }
            Proceed(reply, actions, now);
            return true;
        case SmtpState::StartTls:
            if (code != 220) {
                return false;
            }
            // The greeting and EHLO before TLS count for nothing after it (RFC 3207 4.2).
            actions.startTls = true;
            Advance(SmtpState::Ehlo, {"EHLO " + ClientName(settings_.userName)}, actions, now);
            return true;
        case SmtpState::AuthLogin:
            if (code != 334) {
                return false;
            }
            Advance(SmtpState::AuthLoginName, {Base64(submission_.login)}, actions, now, {kMasked});
            return true;
        case SmtpState::AuthLoginName:
            if (code != 334) {
                return false;
            }
            Advance(SmtpState::AuthLoginPassword, {}, actions, now, {kMasked});
            actions.secret = SecretLine::AuthLoginPassword;
            return true;
        case SmtpState::AuthPlain:
        case SmtpState::AuthLoginPassword:
            if (code != 235) {
                return false;
            }
            Advance(SmtpState::Rset, {"RSET"}, actions, now);
            return true;
        case SmtpState::Greeting:
        case SmtpState::Helo:
        case SmtpState::Rset:
        case SmtpState::MailFrom:
        case SmtpState::RcptTo:
        case SmtpState::Data:
        case SmtpState::EndOfData:
        case SmtpState::Quit:
            break;
    }
    return false;
}

void SmtpConversation::Proceed(std::string_view ehloReply, SmtpActions& actions,
                               SmtpClock::time_point now) {
    if (submission_.security == Security::StartTls && !tls_) {
        // Required: a server that does not offer it gets nothing more, not even the login.
        if (!OffersExtension(ehloReply, "STARTTLS")) {
            actions = End(std::move(actions), SmtpOutcome::Failure,
                          EndOf(SendEndKind::Tls, "the server does not offer STARTTLS"));
            return;
        }
        Advance(SmtpState::StartTls, {"STARTTLS"}, actions, now);
        return;
    }
    if (submission_.login.empty()) {
        Advance(SmtpState::Rset, {"RSET"}, actions, now);
        return;
    }
    if (!tls_) {
        actions =
            End(std::move(actions), SmtpOutcome::Failure,
                EndOf(SendEndKind::Tls,
                      "the login is sent only over TLS: set the security to STARTTLS or TLS"));
        return;
    }
    // PLAIN takes one round trip, LOGIN two; inside verified TLS neither shows more.
    if (OffersExtension(ehloReply, "AUTH", "PLAIN")) {
        Advance(SmtpState::AuthPlain, {}, actions, now, {std::string("AUTH PLAIN ") + kMasked});
        actions.secret = SecretLine::AuthPlain;
        return;
    }
    if (OffersExtension(ehloReply, "AUTH", "LOGIN")) {
        Advance(SmtpState::AuthLogin, {"AUTH LOGIN"}, actions, now);
        return;
    }
    // No login was refused: nothing was tried. A setting cannot mend it, nor waiting.
    std::string offered;
    for (const std::string& mechanism : ExtensionParameters(ehloReply, "AUTH")) {
        offered += (offered.empty() ? "" : " ") + mechanism;
    }
    actions =
        End(std::move(actions), SmtpOutcome::Failure,
            EndOf(SendEndKind::NoLoginMethod,
                  "the server offers no login method that Tarvelo knows (offered: " +
                      (offered.empty() ? std::string("none") : ShiftJisToUtf8(offered)) + ")"));
}

void SmtpConversation::Advance(SmtpState next, const std::vector<std::string>& lines,
                               SmtpActions& actions, SmtpClock::time_point now,
                               const std::vector<std::string>& logged) {
    state_ = next;
    // A line that only the drive loop writes has no line here, only its masked entry.
    for (std::size_t i = 0; i < std::max(lines.size(), logged.size()); ++i) {
        if (i < lines.size()) {
            actions.wire += FrameLine(lines[i]);
        }
        actions.log.push_back(" S:" + (i < logged.size() ? logged[i] : lines[i]));
    }
    actions.state = actions.log.back().substr(1);
    if (next == SmtpState::Quit) {
        // Delivered: even a server that never answers QUIT must not hide that.
        deadline_ = now + replyTimeout_;
    }
}

void SmtpConversation::NextMail(SendEnd end, SmtpActions& actions, SmtpClock::time_point now) {
    anyRefused_ = anyRefused_ || end.kind != SendEndKind::Delivered;
    actions.ends.push_back(std::move(end));
    ++mail_;
    if (mail_ < mails_.size()) {
        Advance(SmtpState::Rset, {"RSET"}, actions, now);
    } else {
        Advance(SmtpState::Quit, {"QUIT"}, actions, now);
    }
}

SmtpActions SmtpConversation::Refused(SmtpActions actions, int code, std::string_view reply,
                                      SmtpClock::time_point now) {
    SendEndKind kind =
        code >= 400 && code < 500 ? SendEndKind::RefusedTemporary : SendEndKind::RefusedPermanent;
    switch (state_) {
        case SmtpState::StartTls:
            // 454 "TLS not available due to temporary reason" (RFC 3207 4) may pass.
            if (kind != SendEndKind::RefusedTemporary) {
                kind = SendEndKind::Tls;
            }
            break;
        case SmtpState::AuthPlain:
        case SmtpState::AuthLogin:
        case SmtpState::AuthLoginName:
        case SmtpState::AuthLoginPassword:
            // A login refused for now (454) may be tried again; any other is refused.
            if (kind != SendEndKind::RefusedTemporary) {
                kind = SendEndKind::Authentication;
            }
            break;
        case SmtpState::Rset:
        case SmtpState::MailFrom:
        case SmtpState::RcptTo:
        case SmtpState::Data:
        case SmtpState::EndOfData:
            // One mail refused among several: the next still goes, as its RSET begins it.
            if (mail_ + 1 < mails_.size()) {
                NextMail(ReplyEnd(kind, reply), actions, now);
                return actions;
            }
            break;
        case SmtpState::Greeting:
        case SmtpState::Helo:
        case SmtpState::Quit:
        case SmtpState::Ehlo:
            break;
    }
    return End(std::move(actions), SmtpOutcome::Failure, ReplyEnd(kind, reply));
}

SmtpActions SmtpConversation::Lost(const SmtpRead& read) {
    // After the last end of data the server has taken the mails and may simply hang up.
    if (state_ == SmtpState::Quit) {
        return End({}, anyRefused_ ? SmtpOutcome::Failure : SmtpOutcome::Success);
    }
    SendEnd end;
    switch (read.kind) {
        case SmtpRead::Kind::Bytes:
        case SmtpRead::Kind::Nothing: {
            // Only a reply past its deadline comes here.
            const std::string arrived = ReplyDetail(reader_.Kept());
            end = EndOf(SendEndKind::Overdue,
                        "the server's reply did not complete in time" +
                            (arrived.empty() ? "" : "; what arrived: " + arrived));
            break;
        }
        case SmtpRead::Kind::Closed:
            end = EndOf(SendEndKind::Closed, "the server closed the connection");
            break;
        case SmtpRead::Kind::Failed:
            end = EndOf(SendEndKind::ReadFailed, "reading from the server failed");
            break;
        case SmtpRead::Kind::SendFailed:
            end = EndOf(SendEndKind::SendFailed, "sending to the server failed");
            break;
        case SmtpRead::Kind::NotTaken:
            end = EndOf(SendEndKind::Overdue, "the server did not take the data in time");
            break;
        case SmtpRead::Kind::NoReply:
            end = EndOf(SendEndKind::Overdue, "the server did not answer in time");
            break;
        case SmtpRead::Kind::TlsFailed:
            end = EndOf(SendEndKind::Tls, std::string(read.bytes));
            break;
        case SmtpRead::Kind::HandshakeOverdue:
            end = EndOf(SendEndKind::Overdue, "the TLS handshake did not complete in time");
            break;
    }
    return End({}, SmtpOutcome::Failure, end);
}

SmtpActions SmtpConversation::End(SmtpActions actions, SmtpOutcome outcome, const SendEnd& end) {
    outcome_ = outcome;
    deadline_.reset();
    actions.outcome = outcome;
    if (outcome == SmtpOutcome::Success) {
        actions.state = std::string();
    }
    if (outcome == SmtpOutcome::Failure) {
        SendEnd told = end;
        if (BrokeOff(end.kind)) {
            told.lastReply = lastReply_;
        }
        for (; mail_ < mails_.size(); ++mail_) {
            actions.ends.push_back(told);
        }
    }
    return actions;
}

}  // namespace tarvelo
