// The composition of the main window as a pure function: from the message, the handset number
// and the reply number to the preview, the mail image and whether the message may be sent.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// Why the message may not be sent; only the first that applies is reported, in this order.
enum class MessageError {
    None,
    InvalidCharacter,  // a character outside the handset's repertoire was dropped; in test
                       // mode, a character that would not reach the wire (see EncodesWhole)
    Empty,             // the preview holds no byte
    TooLong,           // the preview is longer than kMaxPreviewBytes
};

// 69 full-width characters of the handset's repertoire.
inline constexpr std::size_t kMaxPreviewBytes = 138;

// No handset number is longer: an international number has at most 15 digits (ITU-T E.164),
// which with its "+" and a separator or two stays within 16 characters, full-width ones
// included. A longer text is a paste gone wrong, not a number.
inline constexpr std::size_t kMaxPhsNoBytes = 32;

// Every text is Shift-JIS; line breaks in the message are CR LF.
struct CompositionInput {
    std::string_view message;
    std::string_view phsNo;
    std::string_view resNo;
    bool testMode = false;  // send the message unconverted
};

struct Composition {
    std::string preview;                 // converted text, or in test mode the message unchanged
    std::vector<std::string> mailImage;  // "PHSNO="+phsNo, ["RESNO="+resNo when resNo non-empty],
                                         // "MSG="+preview split into lines at the preview's own
                                         // line breaks (CR LF, lone CR, lone LF)
    MessageError messageError = MessageError::None;  // first rule: invalid, empty, > 138 bytes
    bool phsNoMissing = false;                       // phsNo is 0 bytes
    // phsNo holds a character that would not reach the wire as shown (a line break, a control
    // character, one that Shift-JIS cannot hold): the mail would name another handset.
    bool phsNoInvalid = false;
    bool phsNoTooLong = false;  // phsNo is longer than kMaxPhsNoBytes
    bool resNoInvalid = false;  // the same for the reply number, which comes from the settings
    bool sendEnabled = false;   // no error of the message or the numbers
};

// The texts that tell the user why a message may not be sent, in the windows' error boxes and
// on a terminal alike. UTF-8; MessageErrorText gives "" for None.
std::string_view MessageErrorText(MessageError error);
inline constexpr std::string_view kPhsNoMissingText = "PHS Noがありません";
// The number's error box, which speaks for the reply number too: "" when both may be sent.
std::string_view PhsNoErrorText(const Composition& composition);

// Numbers are taken as typed: no trimming, a blank is a number. In test mode the message is
// taken as it is, and the limit applies to its raw bytes; only a character that would not reach
// the wire as shown is invalid there (EncodesWhole of each line). A line break
// at the very end of the preview gives an empty last line, so the lines joined with CR LF
// always give back the "MSG=" text.
Composition Compose(const CompositionInput& input);

// The preview is drawn in a fixed-pitch font in which a full-width character takes 12 pixels
// and a half-width one 6, in a box columns × 12 pixels wide: a row holds columns full-width
// characters, or twice as many half-width ones.
inline constexpr int kFullWidthPixels = 12;
inline constexpr int kHalfWidthPixels = 6;

// A handset's display is this many full-width characters wide.
inline constexpr int kDefaultColumns = 12;
inline constexpr int kMinColumns = 5;
inline constexpr int kMaxColumns = 15;

// The rows of the preview as a handset display of columns full-width characters shows it.
// A line break (CR LF, lone CR, lone LF) starts a new row; a row is full when the next
// character would pass the box's edge, and a full-width character never straddles two rows.
// Every byte that does not start a double-byte character counts as half-width. A preview
// that ends in a line break, or is empty, ends with an empty row. Shift-JIS in, Shift-JIS out.
std::vector<std::string> PreviewRows(std::string_view preview, int columns);

// One row of the preview: its bytes [begin, end), without the line break that may follow.
struct PreviewSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The same rows as spans of the preview, for a window that draws only the rows in sight of a
// long one without copying it.
std::vector<PreviewSpan> PreviewSpans(std::string_view preview, int columns);

// The bytes of the preview's character at i, which are also the half-width cells it takes:
// 2 for a lead byte with a byte after it on its line, else 1.
std::size_t PreviewCharLength(std::string_view preview, std::size_t i);

}  // namespace tarvelo
