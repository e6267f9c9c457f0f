// Acting on a modal window (a dialog, a message box) while a handler waits for it in exec().
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace tarvelo::testing {

// Calls act with the next modal widget that opens (other than the one open now), from inside
// its event loop. Gives up silently after timeoutMs, so a test whose dialog never opens fails
// on its own assertions instead of hanging.
inline void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs = 5000) {
    auto* timer = new QTimer(qApp);
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, before, waited, act, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != before.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
            return;
        }
        *waited += 10;
        if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// The text of the next message box, which is then closed with OK; the text is stored in *text.
inline void CaptureNextMessageBox(QString* text, int timeoutMs = 5000) {
    OnNextModal(
        [text](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                *text = box->text();
                box->accept();
            }
        },
        timeoutMs);
}

}  // namespace tarvelo::testing
