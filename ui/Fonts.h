// The two fonts the windows are designed with, and their stand-ins where they are missing.
#pragma once

#include <QFont>

namespace tarvelo {

// The designed names: fixed-pitch for the message, preview and log; proportional for windows.
inline constexpr const char* kGothicFamily = "ＭＳ ゴシック";
inline constexpr const char* kPGothicFamily = "ＭＳ Ｐゴシック";

// Maps the designed names onto IPAGothic and IPAPGothic, whose metrics match them (a
// full-width character 12 pixels wide at 12 pixels). Call once, before any window is made.
void SubstituteFonts();

QFont GothicFont();   // "ＭＳ ゴシック", 12 pixels
QFont PGothicFont();  // "ＭＳ Ｐゴシック", 12 pixels

}  // namespace tarvelo
