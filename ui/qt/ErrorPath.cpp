#include "ui/ErrorPath.h"
#include "ui/qt/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>

#include "base/Version.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

namespace tarvelo {

namespace {
// Room for a window manager's buttons beside a title: close, maximise, minimise and a menu.
constexpr int kTitleButtonsWidth = 120;
}  // namespace

void ShowErrorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString(), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    StyleMessageBox(box);
    box.exec();
}

void StyleMessageBox(QMessageBox& box) {
    box.setWindowTitle(Text(kApplicationTitle));
    // The text may hold a server's reply or a file name: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setFont(PGothicFontWithFallback());
    // The box sizes itself to its text, and would cut its own title: the window manager draws
    // that in a font of its own, beside its buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int title = box.fontMetrics().horizontalAdvance(box.windowTitle());
        grid->addItem(new QSpacerItem(title * 3 / 2 + kTitleButtonsWidth, 0), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
}

}  // namespace tarvelo
