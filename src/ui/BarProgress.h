#pragma once

#include "core/Progress.h"

class QProgressBar;
class QWidget;

namespace varnel::ui {

// A window's own progress bar driven as a core::Progress: the bar runs from
// 0 to the number of records and is painted again about every hundredth of
// the way, since a walk runs to its end inside one event.
class BarProgress : public core::Progress {
public:
    explicit BarProgress(QProgressBar *bar) : m_bar(bar) {}
    void start(int max) override;
    void step() override;
    void finish() override;

private:
    QProgressBar *m_bar;
    int m_done = 0;
    int m_max = 0;
    int m_every = 1;
};

// A window's progress bar ("ProgressBar"): without a text, keeping its place
// in the layout while hidden, so that the window does not jump when it shows.
QProgressBar *newWindowBar(QWidget *parent);

}  // namespace varnel::ui
