#include "ui/ErrorPath.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace tarvelo {

void ShowErrorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace tarvelo
