#include "mail/SendPoll.h"

#include <array>

#include "mail/SmtpReceive.h"

namespace tarvelo {

namespace {

// At most this many bytes are read a tick.
constexpr int kReadSize = 1024;

}  // namespace

std::vector<SmtpActions> PollConversation(Socket& socket, SmtpConversation& conversation) {
    std::array<char, kReadSize> buffer;
    SmtpRead read;
    const int readable = socket.Select(0);
    if (readable < 0) {
        read.kind = SmtpRead::Kind::Failed;
    } else if (readable > 0) {
        read = ReceiveReply(socket, buffer);
    }
    std::vector<SmtpActions> actions{conversation.Take(read, SmtpClock::now())};
    const std::string& wire = actions.front().wire;
    if (!wire.empty() && socket.SendAll(wire.data(), static_cast<int>(wire.size())) < 0) {
        actions.push_back(conversation.Take({SmtpRead::Kind::Failed, {}}, SmtpClock::now()));
    }
    return actions;
}

std::optional<ProgressText> ProgressAfter(const SmtpActions& actions, SmtpState state) {
    switch (actions.outcome) {
        case SmtpOutcome::Waiting:
            if (state != SmtpState::Quit) {
                return std::nullopt;
            }
            return ProgressText{"送信しました", "OK"};
        case SmtpOutcome::Success:
            return ProgressText{"送信しました", "OK"};
        case SmtpOutcome::Failure:
            return ProgressText{"送信エラー", "OK"};
    }
    return std::nullopt;
}

}  // namespace tarvelo
