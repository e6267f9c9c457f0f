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
//
// The one value that says whether TLS is up is the transport's: the conversation is built here
// from the resolved target, every read hands it the transport's word, and a line that carries
// the password is written here, from the password held as a secret, only while the transport
// says TLS is up; its buffer is zeroed as soon as the transport has taken it. The debug log
// gets a line sent once the transport has taken it: a line that never left is not shown.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mail/SmtpConversation.h"
#include "mail/SubmissionTarget.h"
#include "mail/Transport.h"
#include "platform/SecretText.h"

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
    // mails: each its lines without line ends. password: used only with the target's login.
    // Reads the CA file (ReadCaFile) and may raise its error; nothing is connected yet.
    SmtpDriver(std::unique_ptr<Transport> transport, SubmissionTarget target, SmtpSettings settings,
               std::vector<std::vector<std::string>> mails, SecretText password, SendBounds bounds);

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
    // Queues the actions' wire, then its secret line, holding back their log entries.
    void Queue(SmtpActions& actions, SmtpActions& out);
    void Flush(SmtpActions& out);
    // Moves into out's log the entries of the lines the transport has taken.
    void Release(SmtpActions& out);
    // Ends what waits to go out: the secret line zeroed, the held entries dropped.
    void DropPending();
    SecretText SecretLineText(SecretLine line) const;
    SmtpRead ReadOnce(DriveMode mode);

    std::unique_ptr<Transport> transport_;
    SubmissionTarget target_;
    SmtpConversation conversation_;
    SecretText password_;
    SendBounds bounds_;
    std::string caPem_;
    bool connecting_ = false;
    std::optional<SendEnd> connectEnd_;  // the connection could not be made
    SmtpClock::time_point handshakeDeadline_;
    bool Pending() const { return taken_ < pending_.size() || secretTaken_ < secretWire_.size(); }

    std::string pending_;  // sent by the conversation; taken_ bytes of it the connection took
    std::size_t taken_ = 0;
    // The line with the password, after pending_; kept, zeroed, once taken whole.
    SecretText secretWire_;
    std::size_t secretTaken_ = 0;
    // Bytes ever queued and ever taken, and the log entries of lines not yet taken, each with
    // the count of bytes queued up to its line's end.
    std::uint64_t queued_ = 0;
    std::uint64_t sent_ = 0;
    std::vector<std::pair<std::uint64_t, std::string>> held_;
    SmtpClock::time_point sendDeadline_;
    SmtpClock::time_point quietSince_;  // since when nothing was awaited to go out or come in
    std::array<char, 1024> buffer_{};   // a read takes at most this much
};

}  // namespace tarvelo
