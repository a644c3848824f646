#include "ui/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace varnel::ui {

UpDown::UpDown(QLineEdit *buddy, int min, int max, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_min(min), m_max(std::max(min, max)), m_position(min) {
    auto make = [this](Qt::ArrowType arrow, const char *name) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        return b;
    };
    m_up = make(Qt::UpArrow, "UpButton");
    m_down = make(Qt::DownArrow, "DownButton");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    m_buddy->installEventFilter(this);
}

void UpDown::stepBy(int steps) {
    bool ok = false;
    const int typed = m_buddy->text().trimmed().toInt(&ok);
    const int from = ok ? std::clamp(typed, m_min, m_max) : m_position;
    m_position = std::clamp(from + steps, m_min, m_max);
    m_buddy->setText(QString::number(m_position));
}

bool UpDown::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace varnel::ui
