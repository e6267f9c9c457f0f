#include "ui/qt/Fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QString>

namespace tarvelo {

namespace {

// The families asked for: the designed ones where they are installed, else their stand-ins.
QString gothicFamily = QString::fromUtf8(kGothicFamily);
QString pGothicFamily = QString::fromUtf8(kPGothicFamily);

// Asking for a family that is not installed fails, and Qt then has fontconfig sort every font
// on the system for a fallback, once for each of the two fonts: a good part of the start-up.
// So a missing designed font is asked for by its stand-in's own name.
QString InstalledOrStandIn(const char* designed, const QString& standIn) {
    const QString family = QString::fromUtf8(designed);
    QFont::insertSubstitution(family, standIn);
    // Not hasFamily: it has fontconfig resolve the name first, which costs as much again.
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive) ? family : standIn;
}

QFont DesignedFont(const QString& family) {
    QFont font(family);
    font.setPixelSize(12);
    // Hinting may round advances off the 12/6-pixel grid the preview's width rule counts on.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
}  // namespace

void SetUpFonts() {
    gothicFamily = InstalledOrStandIn(kGothicFamily, QStringLiteral("IPAGothic"));
    pGothicFamily = InstalledOrStandIn(kPGothicFamily, QStringLiteral("IPAPGothic"));
    // Every window sets it itself; as the application's font too, the boxes that lay out their
    // empty document before a window's font reaches them, and the message boxes, which are
    // windows of their own, need no search for fallback fonts: a good part of the start-up.
    QApplication::setFont(PGothicFont());
}

QFont GothicFont() {
    QFont font = DesignedFont(gothicFamily);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace);
    // Every glyph of a fixed-pitch font stands in its own cell: nothing to shape, and shaping
    // is most of the cost of laying out a long pasted message.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

QFont PGothicFont() {
    QFont font = DesignedFont(pGothicFamily);
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
