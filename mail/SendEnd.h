// Why a sending ended, carried as a value from where it happened up to the window and to
// tarvelo-send, which turn it into their own texts and exit statuses; never worked out again
// from log lines.
#pragma once

#include <cstdint>
#include <string>

namespace tarvelo {

// Why no connection could be made.
enum class ConnectFailure : std::uint8_t {
    None,
    NameNotFound,       // the name does not exist
    ResolverTemporary,  // the resolver could not answer now
    Refused,            // every address refused the connection
    Unreachable,        // no route to any address
    TimedOut,           // the name was found, but no address answered within the bound
    LookupTimedOut,     // the name server did not answer within the bound
    Other,              // the socket library could not start, no socket, or the like
};

enum class SendEndKind : std::uint8_t {
    Delivered,         // the server answered 250 to the end of the data
    NoConnection,      // ConnectFailure says why
    RefusedTemporary,  // a 4xx reply at a step that needed another code
    RefusedPermanent,  // a 5xx (or any other unexpected) reply
    NotANumber,        // a reply that does not begin with a number
    Closed,            // the server closed the connection before taking the mail
    ReadFailed,        // a read of the connection failed
    SendFailed,        // a send failed
    Overdue,           // no reply, an unfinished reply, or data not taken, within the bound
    Tls,  // STARTTLS required but not offered, the handshake or verification failed, or a login
          // met a connection that is not TLS
    Authentication,  // the server refused the login: detail is its reply
    NoLoginMethod,   // the server offers no login mechanism that the program knows
};

// The connection broke off, or a bound ran out, before the server took the mail: no reply
// tells why.
inline bool BrokeOff(SendEndKind kind) {
    return kind == SendEndKind::Closed || kind == SendEndKind::ReadFailed ||
           kind == SendEndKind::SendFailed || kind == SendEndKind::Overdue;
}

struct SendEnd {
    SendEndKind kind = SendEndKind::Delivered;
    ConnectFailure connect = ConnectFailure::None;
    // UTF-8, one line, for the debug log, the progress dialog and tarvelo-send's error line:
    // the server's reply for a refusal, the reason otherwise; for NoConnection "host:port:
    // reason". Never a password.
    std::string detail;
    // detail is the server's reply that ended the mail, which the log shows already.
    bool byReply = false;
    // For an end that broke off (BrokeOff), the last whole reply before it, UTF-8; it tells
    // at which step the connection was lost.
    std::string lastReply = {};
};

}  // namespace tarvelo
