// The error box shows whatever a text from outside holds, though the application's font has no
// fallback fonts.
#include "ui/ErrorPath.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGlyphRun>
#include <QMessageBox>
#include <QRawFont>
#include <QTextLayout>

#include "ModalHelper.h"
#include "ui/qt/Fonts.h"

namespace tarvelo {
namespace {

// Armenian stands for what the IPA fonts lack (an emoji on a system with an emoji font).
TEST(ErrorPath, BoxDrawsCharactersTheWindowsFontLacks) {
    ASSERT_TRUE(QApplication::font().styleStrategy() & QFont::NoFontMerging)
        << "the application's font, as at start-up, has no fallback";
    const QString text = QString::fromUtf8("「Ա」");
    QFont boxFont;
    QString shown;
    testing::OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        boxFont = box->font();
        shown = box->text();
        box->accept();
    });
    ShowErrorBox(text.toStdString());
    ASSERT_EQ(shown, text);

    QTextLayout layout(text, boxFont);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 glyph : run.glyphIndexes()) {
            EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
        }
    }
}

}  // namespace
}  // namespace tarvelo
