#include "register/windows/TFormProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace varnel::reg {

namespace {
// The window is painted again after this many steps.
constexpr int PaintEvery = 50;
}

TFormProgress::TFormProgress(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormProgress"));
    setWindowTitle(QStringLiteral("Aktualizacja baz danych"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(ProgressBar);
    setFixedSize(360, sizeHint().height());
}

core::ProgressFactory TFormProgress::factory(QWidget *parent) {
    return [parent]() -> std::unique_ptr<core::Progress> { return std::make_unique<TFormProgress>(parent); };
}

void TFormProgress::start(int max) {
    m_running = true;
    // An empty table still shows an empty bar, not a busy indicator.
    ProgressBar->setRange(0, std::max(1, max));
    ProgressBar->setValue(0);
    if (!isVisible()) {
        const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect area = over && over->isVisible() ? over->frameGeometry()
                                                     : QGuiApplication::primaryScreen()->availableGeometry();
        move(area.center() - rect().center());
        show();
    }
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormProgress::step() {
    const int value = ProgressBar->value() + 1;
    ProgressBar->setValue(std::min(value, ProgressBar->maximum()));
    if (value % PaintEvery == 0)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormProgress::finish() {
    m_running = false;
    hide();
}

void TFormProgress::reject() {
    if (!m_running)
        QDialog::reject();
}

void TFormProgress::closeEvent(QCloseEvent *e) {
    if (m_running)
        e->ignore();
    else
        QDialog::closeEvent(e);
}

}  // namespace varnel::reg
