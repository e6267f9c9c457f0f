#include "ui/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

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
    const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowLeft,
                                               QStyle::PE_IndicatorArrowRight};
    const bool enabled[] = {position_ > minimum_, position_ < maximum_};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(1, 1, -1, -1);
        if (!enabled[i] || !isEnabled()) {
            arrow.state &= ~QStyle::State_Enabled;
        }
        style()->drawPrimitive(arrows[i], &arrow, &painter, this);
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
