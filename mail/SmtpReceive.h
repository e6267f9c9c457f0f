// One read of the SMTP connection, as the conversation takes it: the window polls and the
// terminal sender waits, but both read alike.
#pragma once

#include <span>
#include <string_view>

#include "mail/SmtpConversation.h"
#include "mail/Socket.h"

namespace tarvelo {

// Reads once what the server has sent, after a select found the socket readable. The bytes
// stay in buffer; a read of none is the server's close, a failed read is Failed.
inline SmtpRead ReceiveReply(Socket& socket, std::span<char> buffer) {
    const int count = socket.Receive(buffer.data(), static_cast<int>(buffer.size()));
    if (count > 0) {
        return {SmtpRead::Kind::Bytes,
                std::string_view(buffer.data(), static_cast<std::size_t>(count))};
    }
    return {count == 0 ? SmtpRead::Kind::Closed : SmtpRead::Kind::Failed, {}};
}

}  // namespace tarvelo
