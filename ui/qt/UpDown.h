// A spinner of two horizontal arrows tied to an edit that shows its position, for small
// bounded counts. Qt's spin boxes stack their arrows vertically inside the edit.
#pragma once

#include <QWidget>

class QLineEdit;

namespace tarvelo {

class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Position() const { return position_; }
    // Each step writes the new position into buddy as decimal text.
    void SetBuddy(QLineEdit* buddy);

    // One step down (left arrow) or up (right arrow); stops at the ends without wrapping.
    void Step(int delta);

signals:
    // Only for a step that changed the position, after the buddy shows it.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    QLineEdit* buddy_ = nullptr;
};

}  // namespace tarvelo
