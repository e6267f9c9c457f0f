#include "ui/qt/Fonts.h"

#include <QApplication>
#include <QString>

namespace tarvelo {

namespace {
QFont DesignedFont(const char* family) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(12);
    // Hinting may round advances off the 12/6-pixel grid the preview's width rule counts on.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
}  // namespace

void SetUpFonts() {
    QFont::insertSubstitution(QString::fromUtf8(kGothicFamily), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QString::fromUtf8(kPGothicFamily), QStringLiteral("IPAPGothic"));
    // Every window sets it itself; as the application's font too, the boxes that lay out their
    // empty document before a window's font reaches them, and the message boxes, which are
    // windows of their own, need no search for fallback fonts: a good part of the start-up.
    QApplication::setFont(PGothicFont());
}

QFont GothicFont() {
    QFont font = DesignedFont(kGothicFamily);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace);
    // Every glyph of a fixed-pitch font stands in its own cell: nothing to shape, and shaping
    // is most of the cost of laying out a long pasted message.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

QFont PGothicFont() {
    QFont font = DesignedFont(kPGothicFamily);
    // The windows' own texts are all in the font, and the designed windows neither kern nor
    // shape. Without a search for fallback fonts (fontconfig sorts every font on the system
    // for each font that may fall back) and without shaping, the windows start noticeably
    // faster. The message box keeps its fallback (GothicFont).
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferNoShaping));
    font.setKerning(false);
    return font;
}

QFont PGothicFontWithFallback() {
    QFont font = PGothicFont();
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

}  // namespace tarvelo
