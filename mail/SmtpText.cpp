#include "mail/SmtpText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>
#include <vector>

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

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The words of a line, split at blanks.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

}  // namespace

namespace {

// The words of each extension line of a reply to EHLO, the keyword first; the first line greets.
template <typename Visit>
void ForEachExtension(std::string_view ehloReply, Visit visit) {
    std::size_t at = ehloReply.find('\n');
    while (at != std::string_view::npos && at + 1 < ehloReply.size()) {
        const std::size_t next = ehloReply.find('\n', at + 1);
        const std::string_view line = ehloReply.substr(
            at + 1, (next == std::string_view::npos ? ehloReply.size() : next) - at - 1);
        at = next;
        const std::vector<std::string_view> words =
            Words(line.substr(std::min<std::size_t>(4, line.size())));
        if (!words.empty()) {
            visit(words);
        }
    }
}

}  // namespace

bool OffersExtension(std::string_view ehloReply, std::string_view keyword,
                     std::string_view parameter) {
    bool offered = false;
    ForEachExtension(ehloReply, [&](const std::vector<std::string_view>& words) {
        if (!SameText(words.front(), keyword)) {
            return;
        }
        offered = offered || parameter.empty() ||
                  std::any_of(words.begin() + 1, words.end(),
                              [&](std::string_view word) { return SameText(word, parameter); });
    });
    return offered;
}

std::vector<std::string> ExtensionParameters(std::string_view ehloReply, std::string_view keyword) {
    std::vector<std::string> parameters;
    ForEachExtension(ehloReply, [&](const std::vector<std::string_view>& words) {
        if (SameText(words.front(), keyword)) {
            parameters.insert(parameters.end(), words.begin() + 1, words.end());
        }
    });
    return parameters;
}

std::size_t Base64Size(std::size_t size) {
    return (size + 2) / 3 * 4;
}

void Base64Into(std::string_view bytes, char* out) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t left = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            group = group << 8 | (i < left ? static_cast<unsigned char>(bytes[at + i]) : 0U);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            *out++ = i <= left ? kDigits[group >> (18 - 6 * i) & 0x3F] : '=';
        }
    }
}

std::string Base64(std::string_view bytes) {
    std::string encoded(Base64Size(bytes.size()), '\0');
    Base64Into(bytes, encoded.data());
    return encoded;
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
