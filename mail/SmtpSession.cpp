#include "mail/SmtpSession.h"

#include <utility>

namespace tarvelo {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "250-" begins a line that another follows (RFC 5321 4.2.1).
bool IsContinuationLine(std::string_view line) {
    return line.size() >= 4 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]) &&
           line[3] == '-';
}

}  // namespace

std::string FrameLine(std::string_view line) {
    std::string framed;
    framed.reserve(line.size() + 2);
    framed.append(line);
    framed.append("\r\n");
    return framed;
}

std::string StuffDot(std::string_view line) {
    std::string stuffed;
    stuffed.reserve(line.size() + 1);
    if (line.starts_with('.')) {
        stuffed.push_back('.');
    }
    stuffed.append(line);
    return stuffed;
}

std::string_view ReplyCodeText(std::string_view reply) {
    return reply.substr(0, 3);
}

std::optional<int> ReplyCode(std::string_view reply) {
    std::string_view text = ReplyCodeText(reply);
    while (text.starts_with(' ')) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string_view TrimReply(std::string_view reply) {
    while (!reply.empty() && static_cast<unsigned char>(reply.back()) <= 32) {
        reply.remove_suffix(1);
    }
    return reply;
}

std::optional<std::string> SmtpReplyReader::Add(std::string_view bytes) {
    kept_.append(bytes);
    if (kept_.size() < kMaxReply) {
        if (kept_.empty() || kept_.back() != '\n') {
            return std::nullopt;
        }
        const std::string_view lines(kept_.data(), kept_.size() - 1);
        const std::size_t lastBreak = lines.rfind('\n');
        const std::string_view lastLine =
            lastBreak == std::string_view::npos ? lines : lines.substr(lastBreak + 1);
        if (IsContinuationLine(lastLine)) {
            return std::nullopt;
        }
    }
    return std::exchange(kept_, {});
}

}  // namespace tarvelo
