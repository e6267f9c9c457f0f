#include "ui/qt/QtShiftJis.h"

#include "base/TextLines.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

std::string ToShiftJis(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8TextToShiftJis(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString FromShiftJis(std::string_view sjis) {
    QString text = QString::fromStdString(ShiftJisToUtf8(sjis));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString FirstUnencodableCharacter(const QString& text) {
    if (ToShiftJis(text).find(kUnencodableByte) == std::string::npos) {
        return {};
    }
    for (const char32_t code : text.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        if (ToShiftJis(character).find(kUnencodableByte) != std::string::npos) {
            return character;
        }
    }
    return {};
}

std::vector<std::string> ToShiftJisLines(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    return SplitLines(ToShiftJis(text));
}

QString FromShiftJisLines(const std::vector<std::string>& lines) {
    // One conversion of the joined lines rather than one a line and a join: the "MSG=" line
    // of a pasted text may be a megabyte. LF is no byte of a double-byte character, so a
    // broken character at the end of a line stays within its line.
    std::size_t size = lines.size();
    for (const std::string& line : lines) {
        size += line.size();
    }
    std::string joined;
    joined.reserve(size);
    for (const std::string& line : lines) {
        if (&line != &lines.front()) {
            joined.push_back('\n');
        }
        joined.append(line);
    }
    return FromShiftJis(joined);
}

}  // namespace tarvelo
