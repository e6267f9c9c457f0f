// The text side of the SMTP conversation (mail/SmtpConversation.h): lines framed for the wire,
// replies joined from reads and read for their code.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// line with the CR LF that ends every line on the wire; the only place that adds it.
std::string FrameLine(std::string_view line);

// SMTP transparency (RFC 5321 4.5.2): a body line that begins with "." gets a second one, so
// that the server cannot take it for the end marker.
std::string StuffDot(std::string_view line);

// The characters the reply code is read from: the first three, or all when fewer.
std::string_view ReplyCodeText(std::string_view reply);

// ReplyCodeText read strictly as an integer: leading blanks, an optional sign, then digits and
// nothing else. Empty when it is not an integer.
std::optional<int> ReplyCode(std::string_view reply);

// reply without its trailing bytes of 32 or less (blanks, CR, LF, other controls): for the log.
std::string_view TrimReply(std::string_view reply);

// Whether a reply to EHLO (RFC 5321 4.1.1.1) names the extension keyword (RFC 3207
// "STARTTLS"), or, with parameter, the keyword with that among its parameters (RFC 4954
// "AUTH PLAIN LOGIN"). Keywords and parameters are read without regard to case.
bool OffersExtension(std::string_view ehloReply, std::string_view keyword,
                     std::string_view parameter = {});

// The parameters of the extension keyword in a reply to EHLO, as the server wrote them, in
// order ("PLAIN", "LOGIN" of "250 AUTH PLAIN LOGIN"); none when it is not offered.
std::vector<std::string> ExtensionParameters(std::string_view ehloReply, std::string_view keyword);

// RFC 4648 base 64, as AUTH PLAIN and LOGIN carry the credentials (RFC 4954 4).
std::string Base64(std::string_view bytes);
// The same written to out, which holds Base64Size(bytes.size()) bytes: a password is encoded
// into a buffer that is wiped after use, never into a string of its own.
std::size_t Base64Size(std::size_t size);
void Base64Into(std::string_view bytes, char* out);

// Joins successive reads into whole replies. A reply may arrive in any number of reads, and a
// multi-line reply (RFC 5321 4.2.1) in several. A read that ends in a line feed ends the reply,
// as it always did, unless its last line is a continuation line ("250-..."); lines that follow
// a line feed within one read belong to the same reply.
class SmtpReplyReader {
public:
    // bytes: one read. Returns the reply, everything kept so far plus bytes, once it is whole,
    // and starts afresh; empty while it waits. Past kMaxReply bytes the reply is taken as it
    // stands, so that a server that never ends one cannot grow memory without end.
    std::optional<std::string> Add(std::string_view bytes);

    static constexpr std::size_t kMaxReply = 64 * 1024;

    // What has arrived of a reply not yet whole.
    std::string_view Kept() const { return kept_; }

private:
    std::string kept_;
};

}  // namespace tarvelo
