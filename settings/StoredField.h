// A field of a settings window that was filled from a file. What the user left alone goes back
// as the bytes that were read, whatever they hold: bytes that are not Shift-JIS, an NEC code that
// the conversion would write as its IBM twin, a zero byte that an edit cannot show, a value
// longer than an edit holds. Only a text that differs from what the field showed after the load
// counts as typed, and only that is converted.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// How a file holds a field's value: "tvemail.ini" and "tvdomain.ini" Shift-JIS, "tvsubmit.ini"
// UTF-8 (the login as SASL wants it, the CA file's name as the file system gives it).
enum class FieldEncoding { ShiftJis, Utf8 };

class StoredField {
public:
    explicit StoredField(FieldEncoding encoding = FieldEncoding::ShiftJis) : encoding_(encoding) {}

    // Takes the bytes read from a file and returns the text to show, UTF-8: bytes that the
    // encoding does not hold show as U+FFFD each.
    std::string Load(std::string bytes);
    // What the field shows once the load's text is in it: a toolkit's edit may leave out a zero
    // byte or a line break, or cut a long text, and what it shows is what the user leaves alone.
    void Shown(std::string_view shown);

    // Whether the text that the field shows now is other than it showed after the load.
    bool Edited(std::string_view now) const { return now != shown_; }
    // The bytes to write: those read while the field is unedited, else now converted.
    std::string Bytes(std::string_view now) const;
    const std::string& Stored() const { return stored_; }

private:
    FieldEncoding encoding_;
    std::string stored_;
    std::string shown_;
};

}  // namespace tarvelo
