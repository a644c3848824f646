#include "register/windows/TFormVarnelMain.h"

#include "core/Guard.h"
#include "core/Questions.h"
#include "data/Table.h"
#include "register/Register.h"
#include "ui/DataGrid.h"
#include "ui/PrinterSetup.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace varnel::reg {

using data::Table;

namespace {

// Columns of the register list: field, title, display width in characters.
QVector<ui::GridColumn> registerColumns() {
    return {
        {QStringLiteral("Numer_decyzji"), QStringLiteral("Numer_decyzji"), 20},
        {QStringLiteral("NazwIm"), QStringLiteral("Nazwisko i imię"), 22},
        {QStringLiteral("Adres"), QStringLiteral("Adres"), 25},
        {QStringLiteral("Wyplata_calosc"), QStringLiteral(" Dodatek"), 11, ui::NumberStyle::Money},
        {QStringLiteral("Wyplata_ryczalt"), QStringLiteral("  Ryczalt"), 11, ui::NumberStyle::Money},
        {QStringLiteral("Wyplata_zarzadca"), QStringLiteral("Dla zarządcy"), 11, ui::NumberStyle::Money},
    };
}
constexpr int NameColumn = 1;
constexpr int AddressColumn = 2;

}  // namespace

TFormVarnelMain::TFormVarnelMain(core::Context &context, Register &reg, QWidget *parent)
    : QMainWindow(parent), m_ctx(context), m_reg(reg) {
    setObjectName(QStringLiteral("FormVarnelMain"));
    buildMenu();
    buildList();
    resize(960, 680);  // room for the application form over it

    // FormCreate: the register opens in surname order with an empty search;
    // "Serwis" shows only with the service switch of the command line.
    if (QToolButton *b = sortButton(m_reg.sortOrder()))
        b->setChecked(true);
    menuItem(QStringLiteral("SMnuSerwis"))->setVisible(m_ctx.values.serviceSwitch);
    menuItem(QStringLiteral("SMnuWynikiPosrednie"))->setChecked(m_reg.wynikiPosrednie());
    menuItem(QStringLiteral("SMnuPelnaInfo"))->setChecked(m_reg.pelnaInformacja());
    followRegister();
    ZmienNaglowekMain();
    qApp->installEventFilter(this);
}

TFormVarnelMain::~TFormVarnelMain() { qApp->removeEventFilter(this); }

// The caption, the menu states, the sort buttons with the search field and
// the check marks of the display switches follow the register.
void TFormVarnelMain::followRegister() {
    connect(&m_reg, &Register::tableNameChanged, this, [this] {
        ZmienNaglowekMain();
        setRegisterMenuState();
    });
    connect(&m_reg, &Register::sortOrderApplied, this,
            [this](SortOrder order, const QString &text) { showSortOrder(order, text); });
    connect(&m_reg, &Register::switchesChanged, this, [this] {
        menuItem(QStringLiteral("SMnuWynikiPosrednie"))->setChecked(m_reg.wynikiPosrednie());
        menuItem(QStringLiteral("SMnuPelnaInfo"))->setChecked(m_reg.pelnaInformacja());
    });
}

// ---------------------------------------------------------------------------
// Building the window

QAction *TFormVarnelMain::addItem(QMenu *menu, const QString &name, const QString &caption, int helpTopic) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    a->setProperty("helpTopic", helpTopic);
    connect(a, &QAction::triggered, this, [this, name] { runMenuItem(name); });
    m_items[name] = a;
    return a;
}

QMenu *TFormVarnelMain::addMenu(QMenu *parent, const QString &name, const QString &caption, int helpTopic) {
    QMenu *m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    m->setObjectName(name);
    m->setProperty("helpTopic", helpTopic);
    m->menuAction()->setObjectName(name);
    m->menuAction()->setProperty("helpTopic", helpTopic);
    m_items[name] = m->menuAction();
    return m;
}

void TFormVarnelMain::buildMenu() {
    QMenu *wnioski = addMenu(nullptr, QStringLiteral("MnuWnioski"), QStringLiteral("Wnioski"), 10);
    addItem(wnioski, QStringLiteral("SmnuAktualne"), QStringLiteral("Bieżące"))->setCheckable(true);
    addItem(wnioski, QStringLiteral("SMnuZamknijMies"), QStringLiteral("Przepisz do archiwum"));
    addItem(wnioski, QStringLiteral("SMnuCtrlAkt"), QStringLiteral("Usuń nieaktualne"));
    addItem(wnioski, QStringLiteral("SMnuArchiwum"), QStringLiteral("Otwórz archiwum"));
    wnioski->addSeparator();
    addItem(wnioski, QStringLiteral("SMnuKoniec"), QStringLiteral("Koniec pracy"));

    QMenu *operacje = addMenu(nullptr, QStringLiteral("MnuOperacje"), QStringLiteral("Operacje"), 15);
    addItem(operacje, QStringLiteral("SMnuDrukujDecyzje"), QStringLiteral("Drukuj decyzję"), 117);
    addItem(operacje, QStringLiteral("SMnuDrukujListe"), QStringLiteral("Drukuj listę"), 118);
    addItem(operacje, QStringLiteral("SMnuPrzeliczDod"), QStringLiteral("Przelicz dodatki"), 20);
    QMenu *suma = addMenu(operacje, QStringLiteral("MnuLiczSume"), QStringLiteral("Licz sumę dodatków"), 15);
    addItem(suma, QStringLiteral("SMnuSumaMiesiac"), QStringLiteral("Za miesiąć"));
    addItem(suma, QStringLiteral("SMnuSumaOkres"), QStringLiteral("Za wskazany okres"));

    QMenu *wzory = addMenu(nullptr, QStringLiteral("MnuWzory"), QStringLiteral("Wzory wydruków"), 16);
    addItem(wzory, QStringLiteral("SMnuFormularze"), QStringLiteral("Formularze"));
    addItem(wzory, QStringLiteral("SMnuListy"), QStringLiteral("Listy"), 23);

    QMenu *parametry = addMenu(nullptr, QStringLiteral("MnuParametry"), QStringLiteral("Parametry"), 24);
    QMenu *obliczenia = addMenu(parametry, QStringLiteral("MnuObliczenia"), QStringLiteral("Obliczenia - wyświetlanie"), 25);
    QAction *posrednie = addItem(obliczenia, QStringLiteral("SMnuWynikiPosrednie"), QStringLiteral("Wyniki pośrednie"));
    QAction *pelna = addItem(obliczenia, QStringLiteral("SMnuPelnaInfo"), QStringLiteral("Pełna inform. o błędach"));
    for (QAction *a : {posrednie, pelna}) {
        a->setCheckable(true);
        a->setChecked(true);  // on at every start, not stored
    }
    m_menuSlowniki = addMenu(parametry, QStringLiteral("MnuSlowniki"), QStringLiteral("Słowniki"), 27);
    addItem(m_menuSlowniki, QStringLiteral("SMnuZarzadcy"), QStringLiteral("Lista zarządców"));
    // Each value list has its own item, named by the list itself.
    for (const admin::ValueDictionary &list : admin::valueDictionaries()) {
        addItem(m_menuSlowniki, list.menuName, list.menuItem);
        setMenuHandler(list.menuName, [this, list] {
            if (showValueDictionary)
                showValueDictionary(list);
            else
                notReady();
        });
    }
    m_menuKwoty = addMenu(parametry, QStringLiteral("MnuKwoty"), QStringLiteral("Kwoty"), 26);
    addItem(m_menuKwoty, QStringLiteral("SMnuEmeryt"), QStringLiteral("Najniższa emerytura"));
    addItem(m_menuKwoty, QStringLiteral("SMnuKwh"), QStringLiteral("Koszt kWh"));
    addItem(m_menuKwoty, QStringLiteral("SMnuWskProc"), QStringLiteral("Wskaźnik procentowy"));
    QMenu *wzorce = addMenu(parametry, QStringLiteral("MnuWzorcePol"), QStringLiteral("Wzorce pól"), 24);
    addItem(wzorce, QStringLiteral("SMnuStopka"), QStringLiteral("Stopka "));
    addItem(wzorce, QStringLiteral("SMnuWzorNrDec"), QStringLiteral("Numer decyzji"));
    addItem(wzorce, QStringLiteral("SMnuWzorTerminPlatn"), QStringLiteral("Termin płatności"));
    addItem(wzorce, QStringLiteral("SMnuWzorOkres"), QStringLiteral("Okres od-do"));
    wzorce->addSeparator();
    addItem(wzorce, QStringLiteral("SMnuDrukujMetryczke"), QStringLiteral("Drukuj metryczkę"))->setCheckable(true);
    addItem(wzorce, QStringLiteral("SMnuDrukujStopke"), QStringLiteral("Drukuj stopkę"))->setCheckable(true);
    addItem(parametry, QStringLiteral("SMnuUstawieniaDrukarki"), QStringLiteral("Ustawienia drukarki"), 28);
    addItem(parametry, QStringLiteral("SMnuSerwis"), QStringLiteral("Serwis"));
    addItem(parametry, QStringLiteral("SMnuIndeksuj"), QStringLiteral("Indeksuj wg n-rów decyzji"));
    addItem(parametry, QStringLiteral("SMnuUsers"), QStringLiteral("Użytkownicy"));

    QMenu *pomoc = addMenu(nullptr, QStringLiteral("MnuPomoc"), QStringLiteral("Pomoc"), 9);
    addItem(pomoc, QStringLiteral("SMnuPomoc"), QStringLiteral("Wyświetl"));
    addItem(pomoc, QStringLiteral("SMnuOProgramie"), QStringLiteral("O programie"));

    // Items that work here; the others are wired by the program as their
    // windows come (setMenuHandler).
    setMenuHandler(QStringLiteral("SmnuAktualne"), [this] { SmnuAktualneClick(); });
    setMenuHandler(QStringLiteral("SMnuKoniec"), [this] { SMnuKoniecClick(); });
    setMenuHandler(QStringLiteral("SMnuWynikiPosrednie"), [this] {
        m_reg.setWynikiPosrednie(menuItem(QStringLiteral("SMnuWynikiPosrednie"))->isChecked());
    });
    setMenuHandler(QStringLiteral("SMnuPelnaInfo"), [this] {
        m_reg.setPelnaInformacja(menuItem(QStringLiteral("SMnuPelnaInfo"))->isChecked());
    });
    setMenuHandler(QStringLiteral("SMnuDrukujMetryczke"), [this] {
        m_reg.storePrintSwitch(QStringLiteral("DrukujMetryczke"), menuItem(QStringLiteral("SMnuDrukujMetryczke"))->isChecked());
    });
    setMenuHandler(QStringLiteral("SMnuDrukujStopke"), [this] {
        m_reg.storePrintSwitch(QStringLiteral("DrukujStopke"), menuItem(QStringLiteral("SMnuDrukujStopke"))->isChecked());
    });
    setMenuHandler(QStringLiteral("SMnuDrukujDecyzje"), [this] {
        if (printDecision)
            printDecision();
        else
            notReady();
    });
    // The printer chosen here is the run's: every print takes it.
    setMenuHandler(QStringLiteral("SMnuUstawieniaDrukarki"), [this] { ui::showPrinterSetup(m_ctx.values.printer, this); });
    setMenuHandler(QStringLiteral("SMnuPomoc"), [this] {
        if (showHelp)
            showHelp(0);
        else
            notReady();
    });
    ui::assignAccelerators(menuBar());
}

void TFormVarnelMain::buildList() {
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_panelList = new QWidget(central);
    m_panelList->setObjectName(QStringLiteral("PanelList"));
    m_grid = new ui::DataGrid(m_panelList);
    m_grid->setObjectName(QStringLiteral("DBGridMain"));
    m_grid->setQuestions(&m_ctx.questions);
    m_grid->setColumns(registerColumns());
    m_grid->setTable(&m_reg.TableWnioski());
    connect(m_grid, &ui::DataGrid::rowActivated, this, [this] { ButtonPokazWniosekClick(); });

    auto button = [this](const char *name, const QString &caption, void (TFormVarnelMain::*slot)()) {
        auto *b = new QPushButton(caption, m_panelList);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        return b;
    };
    m_buttonPokaz = button("ButtonPokazWniosek", QStringLiteral("Pokaż"), &TFormVarnelMain::ButtonPokazWniosekClick);
    m_buttonAktualizuj =
        button("ButtonAktualizujWniosek", QStringLiteral("Aktualizuj"), &TFormVarnelMain::ButtonAktualizujWniosekClick);
    m_buttonDodaj = button("ButtonDodajWniosek", QStringLiteral("Dodaj"), &TFormVarnelMain::ButtonDodajWniosekClick);
    m_buttonUsun = button("ButtonUsunWniosek", QStringLiteral("Usuń"), &TFormVarnelMain::ButtonUsunWniosekClick);

    m_panelSort = new QWidget(m_panelList);
    m_panelSort->setObjectName(QStringLiteral("PanelSort"));
    auto *wg = new QLabel(QStringLiteral("Wg"), m_panelSort);
    wg->setObjectName(QStringLiteral("Label1"));
    m_sortButtons = new QButtonGroup(this);
    m_sortButtons->setExclusive(true);
    const std::pair<SortOrder, std::pair<const char *, QString>> orders[] = {
        {SortOrder::Nazwiska, {"SButtonNazwiska", QStringLiteral("Nazwisk")}},
        {SortOrder::NrDec, {"SButtonNrDec", QStringLiteral("N-ru dec.")}},
        {SortOrder::Adres, {"SButtonAdres", QStringLiteral("Adresu")}},
        {SortOrder::Kwota, {"SButtonKwota", QStringLiteral("Wys.dodatku")}},
    };
    int x = 28;
    const int h = 24;
    wg->setGeometry(4, 4, 22, h);
    for (const auto &[order, button] : orders) {
        auto *b = new QToolButton(m_panelSort);
        b->setObjectName(QString::fromLatin1(button.first));
        b->setText(button.second);
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::TabFocus);  // Tab reaches it, Space presses it
        const int w = b->fontMetrics().horizontalAdvance(button.second) + 18;
        b->setGeometry(x, 4, w, h);
        x += w + 2;
        m_sortButtons->addButton(b);
        m_sortButton[order] = b;
        const SortOrder o = order;
        connect(b, &QToolButton::clicked, this, [this, o] { SButtonClick(o); });
    }
    m_editSeek = new QLineEdit(m_panelSort);
    m_editSeek->setObjectName(QStringLiteral("EditSeek"));
    m_editSeek->setGeometry(28, 4 + h + 6, x - 30, h);
    m_panelSort->resize(x + 4, 2 * h + 16);
    // Reading order: the list, the buttons under it, the orders, the search.
    QWidget *chain[] = {m_grid, m_buttonPokaz, m_buttonAktualizuj, m_buttonDodaj, m_buttonUsun,
                        m_sortButton[SortOrder::Nazwiska], m_sortButton[SortOrder::NrDec],
                        m_sortButton[SortOrder::Adres], m_sortButton[SortOrder::Kwota], m_editSeek};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    // Narrower, the sort panel would cover "Dodaj" and "Usuń".
    setMinimumSize(6 + 4 * 96 + 16 + m_panelSort->width() + 4 + 12, 360);
    // EditSeekChange: every change of the text searches.
    connect(m_editSeek, &QLineEdit::textChanged, this, [this](const QString &t) {
        core::guarded(m_ctx.questions, [&] { m_reg.seek(t); });
    });

    m_progressBar = new QProgressBar(central);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
}

void TFormVarnelMain::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

// The list panel takes the window's height − 50 and width − 12, the grid the
// panel's height − 80, and the sort buttons stand at the panel's right edge;
// then the name and address columns are fitted to the grid.
void TFormVarnelMain::FormResize() {
    QWidget *central = centralWidget();
    if (!central)
        return;
    const int panelW = std::max(200, width() - 12);
    const int panelH = std::max(160, height() - 50 - (menuBar()->isVisible() ? 0 : 0));
    m_panelList->setGeometry(6, 4, panelW, std::min(panelH, std::max(160, central->height() - 8)));
    const int gridH = m_panelList->height() - 80;
    m_grid->setGeometry(0, 0, panelW, gridH);
    const int by = gridH + 10;
    int bx = 0;
    for (QPushButton *b : {m_buttonPokaz, m_buttonAktualizuj, m_buttonDodaj, m_buttonUsun}) {
        b->setGeometry(bx, by, 90, 28);
        bx += 96;
    }
    m_panelSort->move(panelW - m_panelSort->width() - 4, gridH + 4);
    m_progressBar->setGeometry(6, central->height() - 22, std::min(300, panelW), 18);

    QVector<int> chars = columnChars();
    const int charPx = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('1'));
    chars = fitColumns(chars, NameColumn, AddressColumn, charPx, m_grid->width());
    m_grid->setColumnChars(NameColumn, chars[NameColumn]);
    m_grid->setColumnChars(AddressColumn, chars[AddressColumn]);
}

QVector<int> TFormVarnelMain::columnChars() const {
    QVector<int> chars;
    for (int c = 0; c < registerColumns().size(); ++c)
        chars << m_grid->columnChars(c);
    return chars;
}

QAction *TFormVarnelMain::menuItem(const QString &objectName) const {
    const auto it = m_items.find(objectName);
    return it == m_items.end() ? nullptr : it->second;
}

void TFormVarnelMain::setMenuHandler(const QString &item, std::function<void()> handler) {
    m_handlers[item] = std::move(handler);
}

void TFormVarnelMain::runMenuItem(const QString &name) {
    const auto it = m_handlers.find(name);
    if (it == m_handlers.end()) {
        notReady();
        return;
    }
    core::guarded(m_ctx.questions, it->second);
}

void TFormVarnelMain::notReady() { m_ctx.questions.inform(QStringLiteral("Funkcja w przygotowaniu.")); }

// ---------------------------------------------------------------------------
// Start of the run

bool TFormVarnelMain::FormShow() {
    std::optional<admin::Rights> rights = logIn ? logIn() : std::optional<admin::Rights>(admin::Rights{});
    if (!rights)
        return false;
    m_rights = *rights;
    menuItem(QStringLiteral("SMnuUsers"))->setEnabled(rights->modiUsers);
    m_menuSlowniki->menuAction()->setEnabled(rights->modiDict);
    m_menuKwoty->menuAction()->setEnabled(rights->modiDict);

    if (schemaCheck && !schemaCheck())
        return false;

    const bool paramsRead = core::guarded(m_ctx.questions, [this] {
        const Register::PrintSwitches print = m_reg.readParameters();
        menuItem(QStringLiteral("SMnuDrukujMetryczke"))->setChecked(print.drukujMetryczke);
        menuItem(QStringLiteral("SMnuDrukujStopke"))->setChecked(print.drukujStopke);
    });
    if (paramsRead) {
        core::guarded(m_ctx.questions, [this] { m_reg.IniAllDictList(); });
        if (!m_shown)
            SmnuAktualneClick();
    }
    m_shown = true;
    m_progressBar->hide();
    // Typing after the log-in finds the register's search.
    if (m_editSeek->isEnabled())
        m_editSeek->setFocus();
    return true;
}

// ---------------------------------------------------------------------------
// The register

void TFormVarnelMain::ZmienNaglowekMain() {
    const RegisterCaption c = registerCaption(m_reg.currentTableName());
    if (c.badMonth)
        m_ctx.questions.inform(QStringLiteral("Miesiąc: ") + c.monthText + QStringLiteral(" ?"));
    setWindowTitle(c.caption);
    menuItem(QStringLiteral("SMnuPrzeliczDod"))->setEnabled(!c.archive);
}

void TFormVarnelMain::setRegisterMenuState() {
    const bool archive = m_reg.showsArchive();
    QAction *aktualne = menuItem(QStringLiteral("SmnuAktualne"));
    aktualne->setChecked(!archive);
    aktualne->setEnabled(archive);
    menuItem(QStringLiteral("SMnuZamknijMies"))->setEnabled(!archive);
    menuItem(QStringLiteral("SMnuCtrlAkt"))->setEnabled(!archive);
    menuItem(QStringLiteral("SMnuPrzeliczDod"))->setEnabled(!archive);
}

// "Bieżące": the current applications; the caption and the menu states
// follow the switch (tableNameChanged).
void TFormVarnelMain::SmnuAktualneClick() {
    m_reg.ChangeTable(CurrentApplications);
    m_reg.PokazListeWnioskow();
}

SortOrder TFormVarnelMain::sortOrder() const { return m_reg.sortOrder(); }

void TFormVarnelMain::setSortOrder(SortOrder order) {
    if (QToolButton *b = sortButton(order))
        b->setChecked(true);
    SButtonClick(order);
}

void TFormVarnelMain::SButtonClick(SortOrder order) {
    core::guarded(m_ctx.questions, [&] { m_reg.setSortOrder(order); });
}

// ModiSortOrder as the window shows it: the button of the order pressed, the
// search field enabled (except for the order by amount) and set to the text
// the order starts with, which searches when it changed the text.
//
// On the primary index (left by the rebuild of the decision-number keys) no
// button is pressed, and the search takes only the digits of a registry
// number: a letter typed there is refused without a word.
void TFormVarnelMain::showSortOrder(SortOrder order, const QString &searchText) {
    if (order == SortOrder::Primary) {
        m_sortButtons->setExclusive(false);
        for (auto &[o, button] : m_sortButton)
            button->setChecked(false);
        m_sortButtons->setExclusive(true);
    } else if (QToolButton *b = sortButton(order)) {
        b->setChecked(true);
    }
    static const QRegularExpression registryNumber(QStringLiteral("[0-9]{0,10}"));
    if (order == SortOrder::Primary && !m_editSeek->validator())
        m_editSeek->setValidator(new QRegularExpressionValidator(registryNumber, m_editSeek));
    else if (order != SortOrder::Primary && m_editSeek->validator()) {
        const QValidator *digits = m_editSeek->validator();
        m_editSeek->setValidator(nullptr);
        delete digits;
    }
    m_editSeek->setEnabled(true);
    m_editSeek->setText(searchText);
    m_editSeek->setEnabled(order != SortOrder::Kwota);
}

QToolButton *TFormVarnelMain::sortButton(SortOrder order) const {
    const auto it = m_sortButton.find(order);
    return it == m_sortButton.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------
// Buttons and keys

void TFormVarnelMain::ButtonPokazWniosekClick() {
    if (showApplicationForm)
        showApplicationForm(ModeView);
    else
        notReady();
}

void TFormVarnelMain::ButtonAktualizujWniosekClick() {
    if (showApplicationForm)
        showApplicationForm(ModeUpdate);
    else
        notReady();
}

void TFormVarnelMain::ButtonDodajWniosekClick() {
    if (showApplicationForm)
        showApplicationForm(ModeAdd);
    else
        notReady();
}

void TFormVarnelMain::ButtonUsunWniosekClick() {
    Table &t = m_reg.TableWnioski();
    if (!t.isOpen() || t.isEmpty())
        return;
    if (!m_ctx.questions.confirmDelete(QStringLiteral("Usunąć pozycję ?")))
        return;
    core::guarded(m_ctx.questions, [&t] { t.remove(); });
}

void TFormVarnelMain::SMnuKoniecClick() {
    if (m_ctx.questions.confirm(QStringLiteral("Zakończyć pracę programu ?")))
        close();
}

void TFormVarnelMain::Closeall() {
    if (m_reg.TableWnioski().isOpen())
        m_reg.TableWnioski().close();
}

void TFormVarnelMain::closeEvent(QCloseEvent *event) {
    Closeall();
    event->accept();
}

int TFormVarnelMain::helpTopicFor(QObject *watched) const {
    if (auto *menu = qobject_cast<QMenu *>(watched)) {
        if (QAction *a = menu->activeAction(); a && a->property("helpTopic").toInt() > 0)
            return a->property("helpTopic").toInt();
        return menu->property("helpTopic").toInt();
    }
    return 8;
}

// The window sees every key before its controls: Enter = "Pokaż",
// Insert = "Dodaj", Delete = "Usuń" wherever the focus is; F1 = help.
bool TFormVarnelMain::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F1) {
        if (auto *menu = qobject_cast<QMenu *>(w); menu || w->window() == this) {
            if (showHelp)
                showHelp(helpTopicFor(watched));
            return true;
        }
        return false;
    }
    if (w->window() != this || QApplication::activeModalWidget())
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ButtonPokazWniosekClick();
        return true;
    case Qt::Key_Insert:
        ButtonDodajWniosekClick();
        return true;
    case Qt::Key_Delete:
        ButtonUsunWniosekClick();
        return true;
    default:
        return false;
    }
}

}  // namespace varnel::reg
