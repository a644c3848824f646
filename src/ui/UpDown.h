#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace varnel::ui {

// Spin buttons beside a text box (the box is their "buddy"): the up and
// down arrows, and the Up and Down keys in the box, step the number in the
// box within a range, without wrapping. Unlike a spin box, the box itself
// takes any text: what the user types stays as typed, and the window that
// reads the box decides what it accepts. A step starts from the number in
// the box, brought into the range; from the last position when the box
// holds no number.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit *buddy, int min, int max, QWidget *parent = nullptr);

    int position() const { return m_position; }
    void stepBy(int steps);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_buddy;
    int m_min;
    int m_max;
    int m_position;
    QToolButton *m_up;
    QToolButton *m_down;
};

}  // namespace varnel::ui
