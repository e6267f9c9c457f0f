#include "mail/SmtpDriver.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "mail/SmtpText.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

using std::chrono::milliseconds;

namespace {

const char* ReasonText(ConnectFailure failure) {
    switch (failure) {
        case ConnectFailure::None:
            return "connected";
        case ConnectFailure::NameNotFound:
            return "name not found";
        case ConnectFailure::ResolverTemporary:
            return "the name cannot be looked up now";
        case ConnectFailure::Refused:
            return "connection refused";
        case ConnectFailure::Unreachable:
            return "unreachable";
        case ConnectFailure::TimedOut:
            return "no address answered in time";
        case ConnectFailure::LookupTimedOut:
            return "the name look-up did not answer in time";
        case ConnectFailure::Other:
            break;
    }
    return "no socket";
}

// "host:port: reason"
std::string ConnectFailureText(const SubmissionTarget& target, ConnectFailure failure) {
    return ShiftJisToUtf8(HostAndPort(target)) + ": " + ReasonText(failure);
}

}  // namespace

SmtpDriver::SmtpDriver(std::unique_ptr<Transport> transport, SubmissionTarget target,
                       SmtpSettings settings, std::vector<std::vector<std::string>> mails,
                       SecretText password, SendBounds bounds)
    : transport_(std::move(transport)),
      target_(std::move(target)),
      conversation_(std::move(settings), std::move(mails),
                    {.security = target_.security, .login = target_.login}, bounds.reply),
      password_(std::move(password)),
      bounds_(bounds),
      caPem_(ReadCaFile(target_)) {}

void SmtpDriver::BeginConnect() {
    transport_->BeginConnect(target_.host, target_.port, bounds_.connect);
    connecting_ = true;
}

std::optional<SendEnd> SmtpDriver::Connect() {
    BeginConnect();
    std::optional<SendEnd> end;
    while (connecting_ && !end) {
        end = Connecting(DriveMode::Block);
    }
    return end;
}

std::optional<SendEnd> SmtpDriver::Connecting(DriveMode mode) {
    const std::optional<ConnectFailure> failure =
        transport_->Connecting(mode == DriveMode::Block ? bounds_.connect : milliseconds(0));
    if (!failure) {
        return std::nullopt;
    }
    connecting_ = false;
    if (*failure != ConnectFailure::None) {
        connectEnd_ = SendEnd{.kind = SendEndKind::NoConnection,
                              .connect = *failure,
                              .detail = ConnectFailureText(target_, *failure)};
    } else if (target_.security == Security::Tls && !StartTls()) {
        connectEnd_ = SendEnd{.kind = SendEndKind::Tls, .detail = transport_->TlsFailure()};
    }
    quietSince_ = SmtpClock::now();
    return connectEnd_;
}

bool SmtpDriver::StartTls() {
    handshakeDeadline_ = SmtpClock::now() + bounds_.handshake;
    return transport_->StartTls({.host = target_.host, .caPem = caPem_});
}

SmtpActions SmtpDriver::Drive(DriveMode mode) {
    SmtpActions out;
    if (connecting_) {
        if (const std::optional<SendEnd> end = Connecting(mode)) {
            out.ends.push_back(*end);
        }
        out.connected = !connecting_ && !connectEnd_;
        if (connecting_ || connectEnd_ || mode == DriveMode::PollOnce) {
            out.outcome = connectEnd_ ? SmtpOutcome::Failure : SmtpOutcome::Waiting;
            return out;
        }
    }
    if (connectEnd_) {
        out.outcome = SmtpOutcome::Failure;
        return out;
    }
    Flush(out);
    if (conversation_.Outcome() != SmtpOutcome::Waiting) {
        out.outcome = conversation_.Outcome();
        return out;
    }
    if (mode == DriveMode::Block && !transport_->HasBuffered()) {
        const SmtpClock::time_point now = SmtpClock::now();
        SmtpClock::time_point until =
            conversation_.Deadline().value_or(quietSince_ + bounds_.reply);
        if (Pending()) {
            until = std::min(until, sendDeadline_);
        }
        if (transport_->Handshaking()) {
            until = std::min(until, handshakeDeadline_);
        }
        // What TLS waits for, when it waits: a handshake under way reads before a queued
        // command can go, and a wait for writing would find the socket writable at once.
        const std::optional<Awaits> tls = transport_->Blocked();
        transport_->Wait(tls ? *tls == Awaits::Writing : Pending(),
                         std::max(milliseconds(0), std::chrono::ceil<milliseconds>(until - now)));
        Flush(out);
    }
    if (conversation_.Outcome() == SmtpOutcome::Waiting) {
        Take(ReadOnce(mode), out);
    }
    out.outcome = conversation_.Outcome();
    return out;
}

SmtpRead SmtpDriver::ReadOnce(DriveMode mode) {
    const SmtpClock::time_point now = SmtpClock::now();
    if (transport_->HasBuffered() || transport_->Wait(false, milliseconds(0))) {
        const TransportRead read = transport_->Receive(buffer_);
        switch (read.kind) {
            case TransportRead::Kind::Bytes:
                quietSince_ = now;
                return {SmtpRead::Kind::Bytes, std::string_view(buffer_.data(), read.count)};
            case TransportRead::Kind::Nothing:
                break;
            case TransportRead::Kind::Closed:
                return {SmtpRead::Kind::Closed, {}};
            case TransportRead::Kind::Failed:
                return {SmtpRead::Kind::Failed, {}};
        }
    }
    if (transport_->Handshaking() && now >= handshakeDeadline_) {
        return {SmtpRead::Kind::HandshakeOverdue, {}};
    }
    if (Pending() && now >= sendDeadline_) {
        return {SmtpRead::Kind::NotTaken, {}};
    }
    // The window's user may wait as long as they like for a reply to begin; a caller that
    // blocks has nobody to cancel, so the wait is bounded there.
    if (mode == DriveMode::Block && !Pending() && !conversation_.Deadline() &&
        now >= quietSince_ + bounds_.reply) {
        return {SmtpRead::Kind::NoReply, {}};
    }
    return {SmtpRead::Kind::Nothing, {}};
}

void SmtpDriver::Take(const SmtpRead& read, SmtpActions& out) {
    std::string tlsFailure;
    SmtpRead given = read;
    given.tls = transport_->TlsActive();
    if (read.kind == SmtpRead::Kind::Failed || read.kind == SmtpRead::Kind::SendFailed) {
        tlsFailure = transport_->TlsFailure();
        if (!tlsFailure.empty()) {
            given = {SmtpRead::Kind::TlsFailed, tlsFailure};
        }
    }
    SmtpActions actions = conversation_.Take(given, SmtpClock::now());
    if (actions.outcome != SmtpOutcome::Waiting) {
        // Whatever had not gone out by now never will.
        DropPending();
    }
    // The replies at once; the lines sent once they have left (Queue).
    for (std::string& entry : actions.log) {
        if (!entry.starts_with(" S:")) {
            out.log.push_back(std::move(entry));
        }
    }
    if (actions.state) {
        out.state = std::move(actions.state);
    }
    if (actions.notANumber) {
        out.notANumber = std::move(actions.notANumber);
    }
    for (SendEnd& end : actions.ends) {
        out.ends.push_back(std::move(end));
    }
    if (actions.startTls && !StartTls()) {
        // Nothing more goes out, and surely not in plain text.
        Take({SmtpRead::Kind::TlsFailed, transport_->TlsFailure()}, out);
        return;
    }
    if (actions.secret != SecretLine::None && !transport_->TlsActive()) {
        // The conversation asked on the word of a read; the transport has the last word.
        Take({SmtpRead::Kind::TlsFailed, "the login is sent only over TLS"}, out);
        return;
    }
    Queue(actions, out);
}

void SmtpDriver::Queue(SmtpActions& actions, SmtpActions& out) {
    if (actions.wire.empty() && actions.secret == SecretLine::None) {
        return;
    }
    if (!Pending()) {
        sendDeadline_ = SmtpClock::now() + bounds_.send;
    }
    SecretText secret;
    if (actions.secret != SecretLine::None) {
        secret = SecretLineText(actions.secret);
    }
    // Each entry " S:" stands for one framed line of the wire, in order; the masked entry of
    // a secret line for that line, which follows the wire.
    std::size_t at = 0;
    for (std::string& entry : actions.log) {
        if (!entry.starts_with(" S:")) {
            continue;
        }
        const std::size_t end = actions.wire.find("\r\n", at);
        at = end == std::string::npos ? actions.wire.size() : end + 2;
        held_.emplace_back(queued_ + at + (end == std::string::npos ? secret.size() : 0),
                           std::move(entry));
    }
    pending_ += actions.wire;
    queued_ += actions.wire.size();
    if (!secret.empty()) {
        queued_ += secret.size();
        secretWire_ = std::move(secret);
        secretTaken_ = 0;
    }
    Flush(out);
}

SecretText SmtpDriver::SecretLineText(SecretLine line) const {
    SecretText credentials;
    std::string_view prefix;
    if (line == SecretLine::AuthPlain) {
        // RFC 4616: no authorization identity, the login, the password.
        prefix = "AUTH PLAIN ";
        credentials.Append(std::string_view("\0", 1));
        credentials.Append(target_.login);
        credentials.Append(std::string_view("\0", 1));
    }
    credentials.Append(password_.view());
    const std::string_view end = "\r\n";
    SecretText text = SecretText::OfSize(prefix.size() + Base64Size(credentials.size()) + 2);
    std::copy(prefix.begin(), prefix.end(), text.data());
    Base64Into(credentials.view(), text.data() + prefix.size());
    std::copy(end.begin(), end.end(), text.data() + text.size() - end.size());
    return text;
}

void SmtpDriver::Release(SmtpActions& out) {
    std::size_t released = 0;
    while (released < held_.size() && held_[released].first <= sent_) {
        out.log.push_back(std::move(held_[released].second));
        ++released;
    }
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(released));
}

void SmtpDriver::DropPending() {
    pending_.clear();
    taken_ = 0;
    if (!secretWire_.empty()) {
        WipeBytes(secretWire_.data(), secretWire_.size());
    }
    secretTaken_ = secretWire_.size();
    held_.clear();
}

void SmtpDriver::Flush(SmtpActions& out) {
    while (Pending() && conversation_.Outcome() == SmtpOutcome::Waiting) {
        const bool secret = taken_ == pending_.size();
        const std::string_view rest = secret ? secretWire_.view().substr(secretTaken_)
                                             : std::string_view(pending_).substr(taken_);
        const TransportSend sent = transport_->Send(rest);
        if (sent.failed) {
            DropPending();
            Take({SmtpRead::Kind::SendFailed, {}}, out);
            return;
        }
        if (sent.taken == 0) {
            return;
        }
        sent_ += sent.taken;
        Release(out);
        // Counted, not erased: a mail the socket takes a little at a time is copied once.
        (secret ? secretTaken_ : taken_) += sent.taken;
        if (secret && secretTaken_ == secretWire_.size()) {
            // The transport has its own copy now: ours goes at once, not at the next login.
            WipeBytes(secretWire_.data(), secretWire_.size());
        }
        if (!Pending()) {
            pending_.clear();
            taken_ = 0;
            quietSince_ = SmtpClock::now();
        }
    }
}

}  // namespace tarvelo
