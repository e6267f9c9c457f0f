#include "ui/qt/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace tarvelo {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void UpDown::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    SetPosition(position_);
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
    if (buddy_ != nullptr) {
        buddy_->setText(QString::number(position_));
    }
}

void UpDown::SetBuddy(QLineEdit* buddy) {
    buddy_ = buddy;
    SetPosition(position_);
}

void UpDown::Step(int delta) {
    const int next = std::clamp(position_ + delta, minimum_, maximum_);
    if (next == position_) {
        return;
    }
    SetPosition(next);
    update();
    emit Click();
}

void UpDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = width() / 2;
    const QRect halves[] = {QRect(0, 0, half, height()), QRect(half, 0, width() - half, height())};
    const bool enabled[] = {position_ > minimum_, position_ < maximum_};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        // The style's arrows shrink to a few pixels in a half this narrow: a solid triangle as
        // wide as the half's inside, twice as high, reads at any scale.
        const QRect inside = halves[i].adjusted(1, 2, -1, -2);
        const double across = std::min<double>(inside.width(), inside.height() / 2.0);
        const QPointF middle = QRectF(inside).center();
        const double tip = i == 0 ? -across / 2 : across / 2;
        const QPointF arrow[] = {middle + QPointF(tip, 0), middle + QPointF(-tip, -across),
                                 middle + QPointF(-tip, across)};
        const bool active = enabled[i] && isEnabled();
        painter.setPen(Qt::NoPen);
        painter.setBrush(
            palette().color(active ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawPolygon(arrow, 3);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void UpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    Step(event->position().x() < width() / 2 ? -1 : 1);
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            Step(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            Step(1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace tarvelo
