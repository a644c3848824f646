#include "ui/BarProgress.h"

#include <QProgressBar>
#include <algorithm>

namespace varnel::ui {

void BarProgress::start(int max) {
    m_done = 0;
    m_max = max;
    m_every = std::max(1, max / 100);
    m_bar->setMaximum(std::max(max, 1));
    m_bar->setValue(0);
    m_bar->repaint();
}

void BarProgress::step() {
    ++m_done;
    if (m_done % m_every == 0 || m_done == m_max) {
        m_bar->setValue(std::min(m_done, m_bar->maximum()));
        m_bar->repaint();
    }
}

void BarProgress::finish() {}

QProgressBar *newWindowBar(QWidget *parent) {
    auto *bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("ProgressBar"));
    bar->setTextVisible(false);
    QSizePolicy policy = bar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    bar->setSizePolicy(policy);
    return bar;
}

}  // namespace varnel::ui
