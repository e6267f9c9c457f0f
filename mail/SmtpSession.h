// The client side of the SMTP conversation as a machine without sockets: a reply in, the
// lines to send and the outcome out. The window side owns the socket, the timer and the log.
//
// One poll tick, after Select(0) said readable and ReceiveLine filled buffer with total bytes:
//
//   if (auto reply = reader.Add({buffer, total})) {
//       auto code = ReplyCode(*reply);
//       if (!code) throw NotIntegerError(ShiftJisToUtf8(ReplyCodeText(*reply)));
//       log " R:" + TrimReply(*reply);
//       SmtpStep step = OnReply(smtpState, *code, settings, mailLines);
//       for (line : step.linesToSend) SendAll(FrameLine(line)) and log " S:" + line;
//       if (step.outcome != SmtpOutcome::Waiting) end the session;
//   }
//   if (session still open && socket.status <= 0) end it with OnConnectionLost(smtpState);
//
// status <= 0 after ReceiveLine: the connection closed, a read failed or stalled. A reply that
// completes in that same read is acted on first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// Which reply the conversation awaits. The numbers are the session's own; 6 is never used.
enum class SmtpState : std::uint8_t {
    Greeting = 0,   // 220, the server's greeting once connected
    Helo = 1,       // 250 to "HELO "
    Rset = 2,       // 250 to "RSET"
    MailFrom = 3,   // 250 to "MAIL FROM:<"
    RcptTo = 4,     // 250 or 251 to "RCPT TO:<tv@"
    Data = 5,       // 354 to "DATA"
    EndOfData = 7,  // 250 to the end marker "." after the mail
    Quit = 8,       // any reply to "QUIT"
};

enum class SmtpOutcome {
    Waiting,  // the conversation goes on: send the lines, then await the next reply
    Success,  // the server has taken the mail: end the session
    Failure,  // an unexpected reply, or the connection is gone: end the session, send nothing
};

struct SmtpStep {
    // Without line ends, in order; each goes out through FrameLine.
    std::vector<std::string> linesToSend;
    SmtpOutcome outcome = SmtpOutcome::Waiting;
};

// The settings as they stand when the reply arrives.
struct SmtpSettings {
    std::string userName;       // the sender's mail address, may be empty
    std::string gatewayDomain;  // the first gateway domain, empty when the list is empty
};

// Judges code for state. A code state expects moves state on and gives the next command
// (after 354: every line of mailLines, dot-stuffed, then "."); any other code gives Failure
// with state unchanged; any code in Quit gives Success. A state value outside the enum gives
// Waiting and nothing to send.
SmtpStep OnReply(SmtpState& state, int code, const SmtpSettings& settings,
                 const std::vector<std::string>& mailLines);

// The connection closed, or a read failed or timed out, while state was awaited: Failure,
// except in Quit, where the mail has already been taken and the server may simply hang up.
SmtpStep OnConnectionLost(SmtpState state);

// line with the CR LF that ends every line on the wire; the only place that adds it.
std::string FrameLine(std::string_view line);

// SMTP transparency (RFC 5321 4.5.2): a body line that begins with "." gets a second one, so
// that the server cannot take it for the end marker.
std::string StuffDot(std::string_view line);

// The characters the reply code is read from: the first three, or all when fewer.
std::string_view ReplyCodeText(std::string_view reply);

// ReplyCodeText read strictly as an integer: leading blanks, an optional sign, then digits and
// nothing else. Empty when it is not an integer; the caller raises NotIntegerError (app/Error.h)
// with ReplyCodeText.
std::optional<int> ReplyCode(std::string_view reply);

// reply without its trailing bytes of 32 or less (blanks, CR, LF, other controls): for the log.
std::string_view TrimReply(std::string_view reply);

// Joins successive reads into whole replies. A multi-line reply (RFC 5321 4.2.1) may arrive in
// several reads. A read that ends in a line feed ends the reply, as it always did, unless its
// last line is a continuation line ("250-..."). A read that does not end in a line feed came
// from a full buffer (a long reply, read on in the next tick) or from a connection that closed
// or stalled, which ends the session anyway: either way the reply is not whole yet.
class SmtpReplyReader {
public:
    // bytes: one read. Returns the reply, everything kept so far plus bytes, once it is whole,
    // and starts afresh; empty while it waits. Past kMaxReply bytes the reply is taken as it
    // stands, so that a server that never ends one cannot grow memory without end.
    std::optional<std::string> Add(std::string_view bytes);

    static constexpr std::size_t kMaxReply = 64 * 1024;

    // Drops what is kept, for a new session.
    void Clear() { kept_.clear(); }

private:
    std::string kept_;
};

}  // namespace tarvelo
