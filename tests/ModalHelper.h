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

// Calls act with the next modal widget that opens (other than the one open now) and that
// wanted accepts, from inside its event loop. Gives up silently after timeoutMs, so a test whose
// dialog never opens fails on its own assertions instead of hanging. Deleting the returned
// timer cancels the wait.
inline QPointer<QTimer> OnNextModal(
    std::function<void(QWidget*)> act, int timeoutMs = 5000,
    std::function<bool(QWidget*)> wanted = [](QWidget*) { return true; }) {
    auto* timer = new QTimer(qApp);
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto waited = std::make_shared<int>(0);
    QObject::connect(
        timer, &QTimer::timeout, timer, [timer, before, waited, act, wanted, timeoutMs] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != before.data() && modal->isVisible() && wanted(modal)) {
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
    return timer;
}

// Waits for the next message box (other modal windows are passed by), stores its text in
// *text and closes it with OK.
inline QPointer<QTimer> CaptureNextMessageBox(QString* text, int timeoutMs = 5000) {
    return OnNextModal(
        [text](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            *text = box->text();
            box->accept();
        },
        timeoutMs, [](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; });
}

}  // namespace tarvelo::testing
