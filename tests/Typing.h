// Typing into a control as a user does: ASCII through key events, everything else the way a
// Japanese input method delivers it, as a committed composition.
#pragma once

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QTest>
#include <QWidget>

namespace tarvelo::testing {

inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() >= 0x20 && character.unicode() < 0x7F) {
            QTest::keyClick(widget, character.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(character));
            QCoreApplication::sendEvent(widget, &commit);
        }
    }
}

}  // namespace tarvelo::testing
