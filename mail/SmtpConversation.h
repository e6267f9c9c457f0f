// One SMTP conversation from the client's side, without a socket or a clock of its own: the
// drive loop (mail/SmtpDriver.h) reads the connection, hands over what each read returned with
// the time it is, and carries out what comes back; when it blocks, it waits on the socket until
// Deadline() and then hands over Nothing.
//
// Time bounds: a reply must be complete within replyTimeout of its first byte (a total, not
// restarted by each byte). Before a reply has begun there is no bound (the window waits for
// the user's Cancel; the drive loop bounds it when it blocks), except after QUIT: the mail is
// delivered by then, so a server that never answers QUIT ends the sending as a success after
// replyTimeout.
//
// With the submission settings defaulted the conversation is the classic one, byte for byte:
// "HELO", no STARTTLS, no AUTH. With a security or a login it says "EHLO", asks for STARTTLS
// when it is required (and ends before anything else is sent when the server does not offer
// it), and logs in with AUTH PLAIN or LOGIN, never outside TLS. Several mails go over one
// connection, each begun with "RSET" as the first one is.
//
// Whether TLS is up is never the conversation's own idea: each read says what the connection
// was when it was made (SmtpRead::tls, the transport's word). The conversation never holds the
// password either: where a line must carry it, it says which (SmtpActions::secret), and the
// drive loop, which holds the password, writes that line, and only over TLS.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SendEnd.h"
#include "mail/SmtpText.h"
#include "settings/Submission.h"

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
    // The submission's steps, never reached with the settings defaulted.
    Ehlo = 9,                // 250 to "EHLO ", before and again after STARTTLS
    StartTls = 10,           // 220 to "STARTTLS": TLS begins
    AuthPlain = 11,          // 235 to "AUTH PLAIN" with the credentials
    AuthLogin = 12,          // 334 to "AUTH LOGIN": the login name is asked for
    AuthLoginName = 13,      // 334 to the login name: the password is asked for
    AuthLoginPassword = 14,  // 235 to the password
};

inline constexpr std::chrono::milliseconds kReplyTimeout = std::chrono::seconds(30);

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

// How the conversation goes beyond the classic one; defaulted, it is the classic one.
struct SmtpSubmission {
    // StartTls: STARTTLS is asked for, and required. Whether TLS is up, the reads say.
    Security security = Security::None;
    std::string login;  // empty: no AUTH
};

// A line that carries the password, written by whoever holds it after the actions' wire.
enum class SecretLine : std::uint8_t {
    None,
    AuthPlain,          // "AUTH PLAIN " and the base 64 of NUL, the login, NUL, the password
    AuthLoginPassword,  // the base 64 of the password, as AUTH LOGIN's second answer
};

// What one read of the connection returned.
struct SmtpRead {
    enum class Kind {
        Bytes,             // bytes arrived
        Nothing,           // none: a poll found nothing, or a wait ran until Deadline()
        Closed,            // the server closed the connection
        Failed,            // a read failed
        SendFailed,        // a send failed
        NotTaken,          // the server did not take what was sent within the send's bound
        NoReply,           // no reply began within the bound of a caller that waits
        TlsFailed,         // the TLS handshake or the verification failed; bytes say why
        HandshakeOverdue,  // the TLS handshake did not complete within its bound
    };
    Kind kind = Kind::Nothing;
    std::string_view bytes;
    // The connection was TLS, verified, when the read was made: the transport's word alone.
    bool tls = false;
};

// What to do, in this order: add each log entry to the debug log, show state, send wire as
// one block (a send that fails is handed back as a Failed read), end the sending when the
// outcome says so, and last show the box of notANumber. Texts are Shift-JIS bytes.
struct SmtpActions {
    // The lines to send, each framed with CR LF; the mail's lines dot-stuffed.
    std::string wire;
    // A line with the password to send after wire; its log entry is masked already.
    SecretLine secret = SecretLine::None;
    // " R:" + the reply without trailing controls (its inner line breaks kept), and " S:" + each
    // line sent, as the debug log takes them.
    std::vector<std::string> log;
    // The new text of the progress dialog's State, when it changes.
    std::optional<std::string> state;
    // The reply code's characters when they are not a number: shown once, as the error box's
    // "'%s' は整数ではありません"; the sending ends with it.
    std::optional<std::string> notANumber;
    // Begin TLS over the connection before the wire goes (the server said 220 to STARTTLS).
    bool startTls = false;
    // The connection has just been made (the drive loop's, before the greeting).
    bool connected = false;
    // How each mail ended, in the order of the mails, the moment it is known: delivered at the
    // server's 250 to its end of data; when the conversation ends otherwise, every mail not yet
    // ended gets that end.
    std::vector<SendEnd> ends;
    SmtpOutcome outcome = SmtpOutcome::Waiting;
};

class SmtpConversation {
public:
    // Starts in Greeting; keeps copies of settings and mailLines (without line ends).
    SmtpConversation(SmtpSettings settings, std::vector<std::string> mailLines,
                     std::chrono::milliseconds replyTimeout = kReplyTimeout);
    // Several mails (each its lines without line ends) over one connection, in order.
    SmtpConversation(SmtpSettings settings, std::vector<std::vector<std::string>> mails,
                     SmtpSubmission submission,
                     std::chrono::milliseconds replyTimeout = kReplyTimeout);

    // read: what one read returned; now: when it returned. Once the conversation has ended,
    // gives nothing to do and the outcome it ended with.
    SmtpActions Take(const SmtpRead& read, SmtpClock::time_point now);

    // When the wait for the current reply runs out; none while no reply is under way.
    std::optional<SmtpClock::time_point> Deadline() const { return deadline_; }

    SmtpState State() const { return state_; }
    // Waiting while the conversation goes on.
    SmtpOutcome Outcome() const { return outcome_; }

private:
    SmtpActions Judge(std::string_view reply, SmtpClock::time_point now);
    // The submission's steps, and the mail's own (from MAIL FROM to the end of data).
    bool JudgeSubmission(int code, std::string_view reply, SmtpActions& actions,
                         SmtpClock::time_point now);
    // After a greeting or an EHLO: STARTTLS, AUTH or the first mail, whichever is due.
    void Proceed(std::string_view ehloReply, SmtpActions& actions, SmtpClock::time_point now);
    // The one place where the conversation moves on, with the command whose reply it awaits.
    // logged: what the log and State show of each line, when it is not the line (credentials).
    void Advance(SmtpState next, const std::vector<std::string>& lines, SmtpActions& actions,
                 SmtpClock::time_point now, const std::vector<std::string>& logged = {});
    // A read that cannot be a reply: the connection is gone, the reply is overdue, TLS failed.
    SmtpActions Lost(const SmtpRead& read);
    // A reply that the step does not take: the refusal of the current mail, and the next mail
    // begins when there is one; before the first mail, the end of the whole conversation.
    SmtpActions Refused(SmtpActions actions, int code, std::string_view reply,
                        SmtpClock::time_point now);
    // The current mail's end; the next mail begins with RSET, or the conversation says QUIT.
    void NextMail(SendEnd end, SmtpActions& actions, SmtpClock::time_point now);
    // Ends the conversation; every mail not yet ended ends with end.
    SmtpActions End(SmtpActions actions, SmtpOutcome outcome, const SendEnd& end = {});

    SmtpSettings settings_;
    std::vector<std::vector<std::string>> mails_;
    SmtpSubmission submission_;
    std::chrono::milliseconds replyTimeout_;
    std::size_t mail_ = 0;  // the mail under way, or the count of mails once all have ended
    bool anyRefused_ = false;
    bool tls_ = false;  // what the last read said
    SmtpReplyReader reader_;
    std::string lastReply_;  // UTF-8, trimmed: for an end that breaks off after it
    SmtpState state_ = SmtpState::Greeting;
    SmtpOutcome outcome_ = SmtpOutcome::Waiting;
    std::optional<SmtpClock::time_point> deadline_;
};

}  // namespace tarvelo
