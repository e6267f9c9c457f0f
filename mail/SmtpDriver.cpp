#include "mail/SmtpDriver.h"

#include <algorithm>
#include <utility>

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
            return "timed out";
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
                       SmtpConversation conversation, SendBounds bounds)
    : transport_(std::move(transport)),
      target_(std::move(target)),
      conversation_(std::move(conversation)),
      bounds_(bounds) {}

std::optional<SendEnd> SmtpDriver::Connect() {
    const ConnectFailure failure = transport_->Connect(target_.host, target_.port, bounds_.connect);
    if (failure != ConnectFailure::None) {
        return SendEnd{.kind = SendEndKind::NoConnection,
                       .connect = failure,
                       .detail = ConnectFailureText(target_, failure)};
    }
    if (target_.security == Security::Tls &&
        !transport_->StartTls({.host = target_.host, .caFile = target_.caFile})) {
        return SendEnd{.kind = SendEndKind::Tls, .detail = transport_->TlsFailure()};
    }
    quietSince_ = SmtpClock::now();
    return std::nullopt;
}

SmtpActions SmtpDriver::Drive(DriveMode mode) {
    SmtpActions out;
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
        transport_->Wait(Pending() || transport_->WantsWrite(),
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
    if (read.kind == SmtpRead::Kind::Failed || read.kind == SmtpRead::Kind::SendFailed) {
        tlsFailure = transport_->TlsFailure();
        if (!tlsFailure.empty()) {
            given = {SmtpRead::Kind::TlsFailed, tlsFailure};
        }
    }
    SmtpActions actions = conversation_.Take(given, SmtpClock::now());
    for (std::string& entry : actions.log) {
        out.log.push_back(std::move(entry));
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
    if (actions.startTls &&
        !transport_->StartTls({.host = target_.host, .caFile = target_.caFile})) {
        // Nothing more goes out, and surely not in plain text.
        Take({SmtpRead::Kind::TlsFailed, transport_->TlsFailure()}, out);
        return;
    }
    if (!actions.wire.empty()) {
        if (!Pending()) {
            sendDeadline_ = SmtpClock::now() + bounds_.send;
        }
        pending_ += actions.wire;
        Flush(out);
    }
}

void SmtpDriver::Flush(SmtpActions& out) {
    while (Pending() && conversation_.Outcome() == SmtpOutcome::Waiting) {
        const TransportSend sent = transport_->Send(std::string_view(pending_).substr(taken_));
        if (sent.failed) {
            pending_.clear();
            taken_ = 0;
            Take({SmtpRead::Kind::SendFailed, {}}, out);
            return;
        }
        if (sent.taken == 0) {
            return;
        }
        // Counted, not erased: a mail the socket takes a little at a time is copied once.
        taken_ += sent.taken;
        if (!Pending()) {
            pending_.clear();
            taken_ = 0;
            quietSince_ = SmtpClock::now();
        }
    }
}

}  // namespace tarvelo
