// A one-line label for text that comes from outside, such as a server's reply: shown as plain
// text, cut with an ellipsis where it would run past the label's maximum width, and shown
// whole as the label's tooltip when it is cut.
#pragma once

#include <QLabel>
#include <QString>

namespace tarvelo {

class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

    // text(), cut to the label's width with an ellipsis when it does not fit.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

}  // namespace tarvelo
