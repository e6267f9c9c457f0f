// The two fonts the windows are designed with, and their stand-ins where they are missing.
#pragma once

#include <QFont>

#include "ui/FontNames.h"

namespace tarvelo {

// The designed names (ui/FontNames.h), as Qt takes a family.
inline constexpr const char* kGothicFamily = kGothicFontName.data();
inline constexpr const char* kPGothicFamily = kPGothicFontName.data();

// Maps the designed names onto IPAGothic and IPAPGothic, whose metrics match them (a
// full-width character 12 pixels wide at 12 pixels), and makes PGothicFont the application's
// font. Call once, before any window is made.
void SetUpFonts();

QFont GothicFont();   // "ＭＳ ゴシック", 12 pixels
QFont PGothicFont();  // "ＭＳ Ｐゴシック", 12 pixels
// PGothicFont with the system's fallback fonts, for the controls and message boxes that show
// text from outside (a number or a setting as typed or pasted, a domain from the file, a
// server's reply): whatever it holds is drawn. The fallback fonts are looked up only when a
// character is missing from the font.
QFont PGothicFontWithFallback();

}  // namespace tarvelo
