#include "register/windows/TFormPomoc.h"

#include "core/Context.h"
#include "core/Questions.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

namespace varnel::help {

namespace {

constexpr int TopicRole = Qt::UserRole;

QUrl topicUrl(int number) { return QUrl(QStringLiteral("topic:%1").arg(number)); }

// Pages of the help file by their address "topic:N", so that links and
// "Wstecz" go through the browser's own history.
class TopicBrowser : public QTextBrowser {
public:
    std::function<QString(int)> page;

    QVariant loadResource(int type, const QUrl &name) override {
        if (name.scheme() == QLatin1String("topic") && page)
            return page(name.path().toInt());
        return QTextBrowser::loadResource(type, name);
    }
};

}  // namespace

TFormPomoc::TFormPomoc(core::Context &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ctx(ctx), m_home(parent) {
    setObjectName(QStringLiteral("TFormPomoc"));
    setWindowTitle(QStringLiteral("Pomoc"));

    LBoxSpis = new QListWidget;
    LBoxSpis->setObjectName(QStringLiteral("LBoxSpis"));

    auto *index = new QWidget;
    EditSzukaj = new QLineEdit;
    EditSzukaj->setObjectName(QStringLiteral("EditSzukaj"));
    LBoxIndeks = new QListWidget;
    LBoxIndeks->setObjectName(QStringLiteral("LBoxIndeks"));
    LBoxTematy = new QListWidget;
    LBoxTematy->setObjectName(QStringLiteral("LBoxTematy"));
    LBoxTematy->setMaximumHeight(LBoxTematy->fontMetrics().height() * 6);
    auto *indexLayout = new QVBoxLayout(index);
    indexLayout->addWidget(new QLabel(QStringLiteral("Wpisz początek szukanego słowa:")));
    indexLayout->addWidget(EditSzukaj);
    indexLayout->addWidget(LBoxIndeks, 3);
    indexLayout->addWidget(new QLabel(QStringLiteral("Tematy:")));
    indexLayout->addWidget(LBoxTematy, 1);

    Tabs = new QTabWidget;
    Tabs->setObjectName(QStringLiteral("Tabs"));
    Tabs->addTab(LBoxSpis, QStringLiteral("Spis treści"));
    Tabs->addTab(index, QStringLiteral("Indeks"));

    auto *browser = new TopicBrowser;
    browser->page = [this](int number) {
        if (const HelpTopic *t = m_file.topic(number))
            return m_file.html(*t);
        return QStringLiteral("<p>Plik pomocy nie zawiera tematu nr %1. Proszę wybrać temat ze spisu treści "
                              "lub z indeksu.</p>")
            .arg(number);
    };
    Tekst = browser;
    Tekst->setObjectName(QStringLiteral("Tekst"));

    auto *splitter = new QSplitter;
    splitter->addWidget(Tabs);
    splitter->addWidget(Tekst);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 520});

    ButtonWstecz = new QPushButton(QStringLiteral("Wstecz"));
    ButtonWstecz->setObjectName(QStringLiteral("ButtonWstecz"));
    ButtonWstecz->setEnabled(false);
    ButtonZamknij = new QPushButton(QStringLiteral("Zamknij"));
    ButtonZamknij->setObjectName(QStringLiteral("ButtonZamknij"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonWstecz);
    buttons->addStretch();
    buttons->addWidget(ButtonZamknij);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(800, 520);

    connect(LBoxSpis, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            display(LBoxSpis->item(row)->data(TopicRole).toInt());
    });
    connect(EditSzukaj, &QLineEdit::textEdited, this, [this](const QString &text) {
        const int row = m_file.findKeyword(text);
        LBoxIndeks->setCurrentRow(row < 0 ? LBoxIndeks->count() - 1 : row);
    });
    connect(EditSzukaj, &QLineEdit::returnPressed, this, &TFormPomoc::openChosenTopic);
    connect(LBoxIndeks, &QListWidget::currentRowChanged, this, &TFormPomoc::keywordChosen);
    connect(LBoxIndeks, &QListWidget::itemActivated, this, &TFormPomoc::openChosenTopic);
    connect(LBoxTematy, &QListWidget::itemActivated, this, &TFormPomoc::openChosenTopic);
    connect(LBoxTematy, &QListWidget::itemClicked, this, &TFormPomoc::openChosenTopic);
    connect(Tekst, &QTextBrowser::backwardAvailable, ButtonWstecz, &QPushButton::setEnabled);
    connect(ButtonWstecz, &QPushButton::clicked, Tekst, &QTextBrowser::backward);
    connect(Tekst, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) { shown(url.path().toInt()); });
    connect(ButtonZamknij, &QPushButton::clicked, this, &QWidget::close);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
}

// Shows the window in front, usable also while a modal window waits: a
// window blocks every other but its own, so the help becomes the modal
// window's own while it is open.
void TFormPomoc::comeToFront() {
    QWidget *modal = QApplication::activeModalWidget();
    adoptOwner(modal && modal != this && !isAncestorOf(modal) ? modal : m_home);
    ui::placeOver(this, parentWidget());
    show();
    raise();
    activateWindow();
}

void TFormPomoc::adoptOwner(QWidget *owner) {
    QWidget *previous = parentWidget();
    if (previous == owner)
        return;
    if (previous && previous != m_home)
        previous->removeEventFilter(this);
    const bool visible = isVisible();
    const QPoint place = pos();
    setParent(owner, windowFlags());
    move(place);
    if (owner && owner != m_home)
        owner->installEventFilter(this);
    if (visible)
        show();
}

// The modal window that owns the help is closing (it hides before it is
// destroyed): the help goes back to the next modal window under it, or to
// its first owner, and stays open.
bool TFormPomoc::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Hide && watched == parentWidget() && parentWidget() != m_home) {
        QWidget *next = m_home;
        for (QWidget *w = parentWidget()->parentWidget(); w; w = w->parentWidget()) {
            if (w->isWindow() && w->isModal() && w->isVisible()) {
                next = w;
                break;
            }
        }
        adoptOwner(next);
    }
    return QWidget::eventFilter(watched, event);
}

bool TFormPomoc::ensureLoaded() {
    const QString path = m_ctx.values.helpFile.isEmpty() ? m_ctx.values.programDir + FileName : m_ctx.values.helpFile;
    const QFileInfo info(path);
    if (path == m_loadedPath && info.exists() && info.lastModified() == m_loadedStamp)
        return true;
    QString error;
    HelpFile file;
    if (!HelpFile::load(path, file, error)) {
        m_ctx.questions.error(error);
        return false;
    }
    m_file = file;
    m_loadedPath = path;
    m_loadedStamp = info.lastModified();
    fillLists();
    return true;
}

void TFormPomoc::fillLists() {
    const QSignalBlocker b1(LBoxSpis), b2(LBoxIndeks);
    LBoxSpis->clear();
    for (const auto &t : m_file.topics()) {
        auto *item = new QListWidgetItem(t.title, LBoxSpis);
        item->setData(TopicRole, t.number);
    }
    LBoxIndeks->clear();
    for (const auto &k : m_file.keywords())
        LBoxIndeks->addItem(k.keyword);
    LBoxTematy->clear();
    m_current = 0;
}

void TFormPomoc::display(int number) {
    if (Tekst->source() == topicUrl(number))
        Tekst->reload();
    else
        Tekst->setSource(topicUrl(number));
    shown(number);
}

void TFormPomoc::shown(int number) {
    m_current = m_file.topic(number) ? number : 0;
    const QSignalBlocker block(LBoxSpis);
    LBoxSpis->clearSelection();
    LBoxSpis->setCurrentRow(-1);
    for (int row = 0; row < LBoxSpis->count(); ++row)
        if (LBoxSpis->item(row)->data(TopicRole).toInt() == number)
            LBoxSpis->setCurrentRow(row);
}

void TFormPomoc::keywordChosen(int row) {
    LBoxTematy->clear();
    if (row < 0 || row >= m_file.keywords().size())
        return;
    for (int number : m_file.keywords()[row].topics) {
        if (const HelpTopic *t = m_file.topic(number)) {
            auto *item = new QListWidgetItem(t->title, LBoxTematy);
            item->setData(TopicRole, number);
        }
    }
    LBoxTematy->setCurrentRow(0);
}

void TFormPomoc::openChosenTopic() {
    if (QListWidgetItem *item = LBoxTematy->currentItem())
        display(item->data(TopicRole).toInt());
}

bool TFormPomoc::showTopic(int number) {
    if (!ensureLoaded())
        return false;
    Tabs->setCurrentIndex(0);
    display(number);
    comeToFront();
    return true;
}

bool TFormPomoc::showKeywordSearch(const QString &keyword) {
    if (!ensureLoaded())
        return false;
    Tabs->setCurrentIndex(1);
    EditSzukaj->setText(keyword);
    const int row = m_file.findKeyword(keyword);
    LBoxIndeks->setCurrentRow(row < 0 ? LBoxIndeks->count() - 1 : row);
    if (m_current == 0 && !m_file.topics().isEmpty())
        display(m_file.topics().first().number);
    comeToFront();
    EditSzukaj->setFocus();
    EditSzukaj->selectAll();
    return true;
}

}  // namespace varnel::help
