#pragma once

#include "core/Progress.h"

#include <QDialog>

class QProgressBar;

namespace varnel::reg {

// The progress window of a table rebuild ("Aktualizacja baz danych"): shown
// without waiting when the rebuild starts, closed when it ends. It has no
// title-bar buttons and cannot be closed by the user. While the rebuild runs
// the window is repainted every few steps.
class TFormProgress : public QDialog, public core::Progress {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget *parent = nullptr);

    // Makes a progress window over `parent` whenever the schema check needs
    // one (MakeUpgrade's ProgressFactory).
    static core::ProgressFactory factory(QWidget *parent);

    void start(int max) override;
    void step() override;
    void finish() override;

    QProgressBar *ProgressBar;

public slots:
    void reject() override;  // Esc does not close it

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    bool m_running = false;
};

}  // namespace varnel::reg
