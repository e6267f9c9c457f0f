// The one loop that drives a sending, for the window (poll once from its 50 ms timer) and for
// tarvelo-send (block until something happens or a bound runs out): it connects (the window
// only looks at the connection being made, tarvelo-send waits for it), reads, hands
// each read to the conversation, sends what the conversation says as far as the connection
// takes it, begins TLS when asked, and hands back what the caller shows.
//
// Nothing here waits in PollOnce: a send takes what the socket takes now and the rest waits for
// the next call, so that the caller's Cancel acts at once; the bound of a send (bounds.send)
// counts from the moment data began to wait. In Block the wait before a reply begins is bounded
// too (bounds.reply), as nobody can cancel there.
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "mail/SmtpConversation.h"
#include "mail/SubmissionTarget.h"
#include "mail/Transport.h"

namespace tarvelo {

struct SendBounds {
    std::chrono::milliseconds connect = kSocketTimeout;  // name look-up and connect together
    std::chrono::milliseconds handshake = kSocketTimeout;
    std::chrono::milliseconds reply = kReplyTimeout;
    std::chrono::milliseconds send = kSocketTimeout;
};

enum class DriveMode {
    PollOnce,  // look once and return at once
    Block,     // wait until something happens or a bound runs out
};

class SmtpDriver {
public:
    // Reads the CA file (ReadCaFile) and may raise its error; nothing is connected yet.
    SmtpDriver(std::unique_ptr<Transport> transport, SubmissionTarget target,
               SmtpConversation conversation, SendBounds bounds);

    // Begins connecting within bounds.connect, without waiting; Drive goes on with it.
    void BeginConnect();

    // BeginConnect, then waits until connected (and TLS begun when it is there from the first
    // byte) or the bound has run out. None when connected; otherwise how the sending ended
    // (NoConnection, with "host:port: reason" in detail, or Tls).
    std::optional<SendEnd> Connect();

    // One turn of the loop. The actions' wire is already on its way; log, state, ends,
    // outcome and notANumber are the caller's to show. An end that no reply in the log tells
    // (a time-out, a hang-up, TLS, no connection) says why in its detail, in the caller's
    // words. While connecting, a turn goes on with the connection; connected says when it is
    // made.
    SmtpActions Drive(DriveMode mode);

    const SmtpConversation& Conversation() const { return conversation_; }

private:
    // A step of the connection; an end when it failed.
    std::optional<SendEnd> Connecting(DriveMode mode);
    bool StartTls();
    void Take(const SmtpRead& read, SmtpActions& out);
    void Flush(SmtpActions& out);
    SmtpRead ReadOnce(DriveMode mode);

    std::unique_ptr<Transport> transport_;
    SubmissionTarget target_;
    SmtpConversation conversation_;
    SendBounds bounds_;
    std::string caPem_;
    bool connecting_ = false;
    std::optional<SendEnd> connectEnd_;  // the connection could not be made
    SmtpClock::time_point handshakeDeadline_;
    bool Pending() const { return taken_ < pending_.size(); }

    std::string pending_;  // sent by the conversation; taken_ bytes of it the connection took
    std::size_t taken_ = 0;
    SmtpClock::time_point sendDeadline_;
    SmtpClock::time_point quietSince_;  // since when nothing was awaited to go out or come in
    std::array<char, 1024> buffer_{};   // a read takes at most this much
};

}  // namespace tarvelo
