// The two fonts the windows are designed with, and their stand-ins where they are missing.
#pragma once

#include <QFont>

namespace tarvelo {

// The designed names: fixed-pitch for the message, preview and log; proportional for windows.
inline constexpr const char* kGothicFamily = "ＭＳ ゴシック";
inline constexpr const char* kPGothicFamily = "ＭＳ Ｐゴシック";

// Maps the designed names onto IPAGothic and IPAPGothic, whose metrics match them (a
// full-width character 12 pixels wide at 12 pixels), and makes PGothicFont the application's
// font. Call once, before any window is made.
void SetUpFonts();

QFont GothicFont();   // "ＭＳ ゴシック", 12 pixels
QFont PGothicFont();  // "ＭＳ Ｐゴシック", 12 pixels
// PGothicFont with the system's fallback fonts, for a text from outside that a message box
// shows (a server's reply, the character a field refused): whatever it holds is drawn.
QFont PGothicFontWithFallback();

}  // namespace tarvelo
