// One SMTP conversation from the client's side, without a socket or a clock of its own: the
// caller reads the connection, hands over what each read returned with the time it is, and
// carries out what comes back. The window does so from its 50 ms timer; a caller that blocks
// waits on the socket until Deadline() and then hands over Nothing.
//
// Time bounds: a reply must be complete within replyTimeout of its first byte (a total, not
// restarted by each byte). Before a reply has begun there is no bound (the window waits for
// the user's Cancel), except after QUIT: the mail is delivered by then, so a server that never
// answers QUIT ends the sending as a success after replyTimeout.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SmtpSession.h"

namespace tarvelo {

using SmtpClock = std::chrono::steady_clock;

// Which reply the conversation awaits. The numbers are the session's own; 6 is never used.
enum class SmtpState : std::uint8_t {
    Greeting = 0,   // 220, the server's greeting once connected
    Helo = 1,       // 250 to "HELO "
    Rset = 2,       // 250 to "RSET"
    MailFrom = 3,   // 250 to "MAIL FROM:<"
    RcptTo = 4,     // 250 or 251 to "RCPT TO:<tv@"
    Data = 5,       // 354 to "DATA"
    EndOfData = 7,  // 250 to the end marker "." after the mail
    Quit = 8,       // any reply to "QUIT": the mail is delivered
};

enum class SmtpOutcome {
    Waiting,  // the conversation goes on: await the next read
    Success,  // the mail is delivered: end the sending ("送信しました")
    Failure,  // rejected, lost, overdue or unreadable: end the sending ("送信エラー")
};

// The settings as they stand when the sending starts.
struct SmtpSettings {
    std::string userName;       // the sender's mail address, may be empty
    std::string gatewayDomain;  // the first gateway domain, empty when the list is empty
};

// What one read of the connection returned.
struct SmtpRead {
    enum class Kind {
        Bytes,    // bytes arrived
        Nothing,  // none: a poll found nothing, or a wait ran until Deadline()
        Closed,   // the server closed the connection
        Failed,   // a read or a send failed, or a send ran out of time
    };
    Kind kind = Kind::Nothing;
    std::string_view bytes;
};

// What to do, in this order: add each log entry to the debug log, show state, send wire as
// one block (a send that fails is handed back as a Failed read), end the sending when the
// outcome says so, and last show the box of notANumber. Texts are Shift-JIS bytes.
struct SmtpActions {
    // The lines to send, each framed with CR LF; the mail's lines dot-stuffed.
    std::string wire;
    // " R:" + the reply without trailing controls (its inner line breaks kept), and " S:" + each
    // line sent, as the debug log takes them.
    std::vector<std::string> log;
    // The new text of the progress dialog's State, when it changes.
    std::optional<std::string> state;
    // The reply code's characters when they are not a number: shown once, as the error box's
    // "'%s' は整数ではありません"; the sending ends with it.
    std::optional<std::string> notANumber;
    SmtpOutcome outcome = SmtpOutcome::Waiting;
};

class SmtpConversation {
public:
    // Starts in Greeting; keeps copies of settings and mailLines (without line ends).
    SmtpConversation(SmtpSettings settings, std::vector<std::string> mailLines);

    // read: what one read returned; now: when it returned. Once the conversation has ended,
    // gives nothing to do and the outcome it ended with.
    SmtpActions Take(const SmtpRead& read, SmtpClock::time_point now);

    // When the wait for the current reply runs out; none while no reply is under way.
    std::optional<SmtpClock::time_point> Deadline() const { return deadline_; }

    SmtpState State() const { return state_; }
    // Waiting while the conversation goes on.
    SmtpOutcome Outcome() const { return outcome_; }

    // Settable for tests; the program keeps the default. Read when a conversation starts.
    static inline std::chrono::milliseconds replyTimeout = std::chrono::seconds(30);

private:
    SmtpActions Judge(std::string_view reply, SmtpClock::time_point now);
    // The one place where the conversation moves on, with the command whose reply it awaits.
    void Advance(SmtpState next, const std::vector<std::string>& lines, SmtpActions& actions,
                 SmtpClock::time_point now);
    // A read that cannot be a reply: the connection is gone or the reply is overdue.
    SmtpActions Lost();
    SmtpActions End(SmtpActions actions, SmtpOutcome outcome);

    SmtpSettings settings_;
    std::vector<std::string> mailLines_;
    std::chrono::milliseconds replyTimeout_;
    SmtpReplyReader reader_;
    SmtpState state_ = SmtpState::Greeting;
    SmtpOutcome outcome_ = SmtpOutcome::Waiting;
    std::optional<SmtpClock::time_point> deadline_;
};

}  // namespace tarvelo
