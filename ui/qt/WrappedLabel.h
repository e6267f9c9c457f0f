// A label for text that comes from outside, such as a server's reply: shown as plain text,
// whole, on one row when it fits, else wrapped at its width at spaces only, and at its line
// breaks.
#pragma once

#include <QLabel>
#include <QString>

class QPainter;

namespace tarvelo {

class WrappedLabel : public QLabel {
    Q_OBJECT

public:
    explicit WrappedLabel(const QString& text, QWidget* parent = nullptr);

    int heightForWidth(int width) const override;
    // As wide as the text, up to the maximum width, and as high as it then needs.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Lays the text out in rows of width pixels and returns their height; draws them too when
    // given a painter.
    int LayOut(int width, QPainter* painter) const;
};

}  // namespace tarvelo
