#include "calc/windows/TFormLiczWszystko.h"

#include "core/Context.h"
#include "core/Guard.h"
#include "data/Table.h"
#include "register/Register.h"
#include "ui/BarProgress.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace varnel::calc {

namespace {

// The bar of the window, which also lets the window repaint and the system
// see the program alive while the run goes on inside one event: the events
// waiting are handled (the user's input excepted) each time the bar moves,
// about every hundredth of the way.
class LiveBar : public ui::BarProgress {
public:
    using BarProgress::BarProgress;
    void start(int max) override {
        BarProgress::start(max);
        m_every = std::max(1, max / 100);
    }
    void step() override {
        BarProgress::step();
        if (++m_done % m_every == 0)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    int m_every = 1;
    int m_done = 0;
};

// While the run lets events through, a request to close a window (the main
// window's title-bar button) waits: closing the register under the walk
// would end the run half-way.
class HoldCloses : public QObject {
public:
    HoldCloses() { qApp->installEventFilter(this); }
    ~HoldCloses() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

}  // namespace

TFormLiczWszystko::TFormLiczWszystko(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_ctx(ctx), m_reg(reg) {
    setObjectName(QStringLiteral("FormLiczWszystko"));
    setWindowTitle(QStringLiteral("Naliczanie wyskości dodatków"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Wnioski z niekompletnymi danymi:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListBoxBledy = new QListWidget(this);
    ListBoxBledy->setObjectName(QStringLiteral("ListBoxBledy"));
    // Lines of one height: the list lays out thousands of failed
    // applications without measuring each line again every time it repaints.
    ListBoxBledy->setUniformItemSizes(true);
    ProgressBar = ui::newWindowBar(this);
    ButtonZakoncz = new QPushButton(QStringLiteral("Zamknij"), this);
    ButtonZakoncz->setObjectName(QStringLiteral("ButtonZakoncz"));
    connect(ButtonZakoncz, &QPushButton::clicked, this, &QDialog::hide);
    layout->addWidget(Label1);
    layout->addWidget(ListBoxBledy, 1);
    layout->addWidget(ProgressBar);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ButtonZakoncz);
    layout->addLayout(row);
    // A fixed border: the window keeps its size.
    setFixedSize(360, 300);
}

QPoint TFormLiczWszystko::dialogPosition() const {
    const QRect g = frameGeometry();
    return QPoint(g.left() - 5, g.top() + g.height() - 40);
}

QStringList TFormLiczWszystko::failedApplications() const {
    QStringList out;
    for (int i = 0; i < ListBoxBledy->count(); ++i)
        out << ListBoxBledy->item(i)->text();
    return out;
}

BulkRecalcResult TFormLiczWszystko::SMnuPrzeliczDodClick() {
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    ListBoxBledy->clear();
    ProgressBar->setValue(0);
    ProgressBar->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    BulkRecalcResult result;
    data::Table &view = m_reg.TableWnioski();
    bool ran = false;
    if (view.isOpen() || m_reg.PokazListeWnioskow()) {
        HoldCloses hold;
        LiveBar bar(ProgressBar);
        BulkRecalcCallbacks cb;
        cb.progress = &bar;
        cb.invalid = [this](const QString &who) { ListBoxBledy->addItem(who); };
        // A failure of the engine midway keeps the applications computed
        // before it and is told; the window stays with what it listed.
        ran = core::guarded(m_ctx.questions, [&] {
            result = recalcTable(view, Rules::Current, dialogPosition(), m_reg.pelnaInformacja(), m_ctx.questions, cb);
        });
    }
    ProgressBar->hide();
    if (ran && result.invalid == 0)
        hide();
    // The register stays in surname order and shows the new amounts.
    core::guarded(m_ctx.questions, [this, &view] {
        m_reg.setSortOrder(reg::SortOrder::Nazwiska);
        if (view.isOpen())
            view.refresh();
    });
    return result;
}

}  // namespace varnel::calc
