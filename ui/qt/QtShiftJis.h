// Text of Qt's controls as the core's Shift-JIS bytes, and back.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// A line break of a multi-line box becomes CR LF, so that it counts 2 bytes.
std::string ToShiftJis(const QString& text);

// CR LF (and a lone CR or LF) becomes Qt's line break.
QString FromShiftJis(std::string_view sjis);

// The first character of text that code page 932 cannot hold, empty when there is none.
QString FirstUnencodableCharacter(const QString& text);

// The lines of a box, first to last, each without its line end, and back.
std::vector<std::string> ToShiftJisLines(const QString& text);
QString FromShiftJisLines(const std::vector<std::string>& lines);

}  // namespace tarvelo
