#include "ui/ErrorPath.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "ui/Fonts.h"

namespace tarvelo {

void ShowErrorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    // The text may hold a server's reply or a file name: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setFont(PGothicFontWithFallback());
    box.exec();
}

}  // namespace tarvelo
