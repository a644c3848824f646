#include "register/windows/TFormVarnelMain.h"

#include "admin/Dictionaries.h"
#include "data/Layouts.h"
#include "ui/DataGrid.h"
#include "core/Guard.h"
#include "core/Questions.h"

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
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
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

std::unique_ptr<Table> makeRegisterView(data::Database &db, const QString &name) {
    auto t = std::make_unique<Table>(db, name);
    t->setFieldNames(data::applicationFieldNames());
    t->addCalculatedField({data::FieldDef{QStringLiteral("NazwIm"), data::FieldType::Text, 20, false},
                           [](const data::RowView &r) {
                               return QVariant(nazwIm(r.text(QStringLiteral("Nazwisko")), r.text(QStringLiteral("Imie"))));
                           }});
    t->addCalculatedField({data::FieldDef{QStringLiteral("Adres"), data::FieldType::Text, 20, false},
                           [](const data::RowView &r) {
                               return QVariant(adres(r.text(QStringLiteral("Adres_miejsc")), r.text(QStringLiteral("Adres_ulica")),
                                                     r.text(QStringLiteral("Adres_nr"))));
                           }});
    return t;
}

}  // namespace

TFormVarnelMain::TFormVarnelMain(core::Context &context, QWidget *parent)
    : QMainWindow(parent), m_ctx(context), m_choiceLists(this) {
    setObjectName(QStringLiteral("FormVarnelMain"));
    m_tableWnioski = makeRegisterView(m_ctx.db, m_ctx.values.currentTableName);
    m_tableWnioskiND = std::make_unique<Table>(m_ctx.db, m_ctx.values.currentTableName);
    buildMenu();
    buildList();
    resize(900, 600);

    // FormCreate: the register opens in surname order with an empty search;
    // "Serwis" shows only with the service switch of the command line.
    m_sortButton[SortOrder::Nazwiska]->setChecked(true);
    m_seekText.clear();
    menuItem(QStringLiteral("SMnuSerwis"))->setVisible(m_ctx.values.serviceSwitch);
    ZmienNaglowekMain();
    qApp->installEventFilter(this);
}

TFormVarnelMain::~TFormVarnelMain() {
    qApp->removeEventFilter(this);
    m_grid->setTable(nullptr);
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
    addItem(m_menuSlowniki, QStringLiteral("SMnuTytulydolkalu"), QStringLiteral("Tytuły do zajm. lokalu"));
    addItem(m_menuSlowniki, QStringLiteral("Sposobyogrzewanialokalu1"), QStringLiteral("Sposoby ogrzewania lokalu"));
    addItem(m_menuSlowniki, QStringLiteral("SMnuOgrzWody"), QStringLiteral("Sposoby ogrzewania wody"));
    addItem(m_menuSlowniki, QStringLiteral("SMnuStatLokali"), QStringLiteral("Statusy lokali"));
    m_menuKwoty = addMenu(parametry, QStringLiteral("MnuKwoty"), QStringLiteral("Kwoty"), 26);
    addItem(m_menuKwoty, QStringLiteral("SMnuEmeryt"), QStringLiteral("Najniższa emerytura"));
    addItem(m_menuKwoty, QStringLiteral("SMnuKwh"), QStringLiteral("Koszt kWh"));
    addItem(m_menuKwoty, QStringLiteral("SMnuWskProc"), QStringLiteral("Wskaźnik procentowy"));
    QMenu *wzorce = addMenu(parametry, QStringLiteral("MnuWzorcePol"), QStringLiteral("Wzorce pól"), 24);
    addItem(wzorce, QStringLiteral("SMnuStopka"), QStringLiteral("Stopka "));
    addItem(wzorce, QStringLiteral("SMnuWzorNrDec"), QStringLiteral("Numer decyzji"));
    addItem(wzorce, QStringLiteral("SMnuWzorTerminPlatn"), QStringLiteral("Termin płatności"));
    addItem(wzorce, QStringLiteral("SMnuWzorOkres"), QStringLiteral("Okres od-do"));
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
    setMenuHandler(QStringLiteral("SMnuWynikiPosrednie"), [] {});
    setMenuHandler(QStringLiteral("SMnuPelnaInfo"), [] {});
    setMenuHandler(QStringLiteral("SMnuDrukujMetryczke"), [this] {
        storePrintSwitch("DrukujMetryczke", menuItem(QStringLiteral("SMnuDrukujMetryczke"))->isChecked());
    });
    setMenuHandler(QStringLiteral("SMnuDrukujStopke"), [this] {
        storePrintSwitch("DrukujStopke", menuItem(QStringLiteral("SMnuDrukujStopke"))->isChecked());
    });
    setMenuHandler(QStringLiteral("SMnuDrukujDecyzje"), [this] {
        if (printDecision)
            printDecision();
        else
            notReady();
    });
    setMenuHandler(QStringLiteral("SMnuUstawieniaDrukarki"), [this] {
        static QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, this);
        dialog.exec();
    });
    setMenuHandler(QStringLiteral("SMnuPomoc"), [this] {
        if (showHelp)
            showHelp(0);
        else
            notReady();
    });
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
    m_grid->setTable(m_tableWnioski.get());
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
        b->setFocusPolicy(Qt::NoFocus);
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
    connect(m_editSeek, &QLineEdit::textChanged, this, [this](const QString &t) { EditSeekChange(t); });

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

    const bool paramsRead = core::guarded(m_ctx.questions, [this] { readParameters(); });
    if (paramsRead) {
        m_ctx.values.currentTableName = QStringLiteral("Aktualne");
        core::guarded(m_ctx.questions, [this] { IniAllDictList(); });
        if (!m_shown)
            SmnuAktualneClick();
    }
    m_shown = true;
    m_progressBar->hide();
    return true;
}

void TFormVarnelMain::readParameters() {
    Table param(m_ctx.db, QStringLiteral("param.db"));
    param.open();
    param.first();
    m_ctx.values.decisionPattern = param.field(QStringLiteral("Wzor_NrDec")).asString();
    m_ctx.values.sortAlgorithm = int(param.field(QStringLiteral("AlgorytmSortowania")).asInteger());
    menuItem(QStringLiteral("SMnuDrukujMetryczke"))->setChecked(param.field(QStringLiteral("DrukujMetryczke")).asBoolean());
    menuItem(QStringLiteral("SMnuDrukujStopke"))->setChecked(param.field(QStringLiteral("DrukujStopke")).asBoolean());
}

void TFormVarnelMain::storePrintSwitch(const char *field, bool on) {
    Table param(m_ctx.db, QStringLiteral("param.db"));
    param.open();
    param.first();
    if (param.isEmpty())
        return;
    param.edit();
    param.field(QString::fromLatin1(field)).setBoolean(on);
    param.post();
}

// ---------------------------------------------------------------------------
// The register

void TFormVarnelMain::ZmienNaglowekMain() {
    const RegisterCaption c = registerCaption(m_ctx.values.currentTableName);
    if (c.badMonth)
        m_ctx.questions.inform(QStringLiteral("Miesiąc: ") + c.monthText + QStringLiteral(" ?"));
    setWindowTitle(c.caption);
    menuItem(QStringLiteral("SMnuPrzeliczDod"))->setEnabled(!c.archive);
}

void TFormVarnelMain::IniAllDictList() {
    const QString name = m_ctx.values.currentTableName;
    if (m_ctx.values.showsArchive()) {
        const ArchiveMonth m = decodeArchiveName(name);
        if (!m.month || !m.year) {
            m_ctx.questions.inform(QStringLiteral("Błąd dekodowania daty: ") + name);
        } else {
            Table list(m_ctx.db, QStringLiteral("ArcLista.db"));
            list.open();
            const QDate key = QDate(*m.year, *m.month, 1);
            if (!key.isValid() || !list.findKey({key}))
                m_ctx.questions.inform(QStringLiteral("Brak w archiwum: ") + name);
        }
    }
    m_choiceLists.set(admin::dictionaryTexts(m_ctx.db, QStringLiteral("Zarzadcy.db")),
                      admin::dictionaryTexts(m_ctx.db, QStringLiteral("statlok.db")),
                      admin::dictionaryTexts(m_ctx.db, QStringLiteral("tytprawn.db")));
}

void TFormVarnelMain::ChangeTable() {
    const bool wasOpen = m_tableWnioski->isOpen();
    m_tableWnioski->close();
    m_tableWnioskiND->close();
    m_tableWnioski->setTableName(m_ctx.values.currentTableName);
    m_tableWnioskiND->setTableName(m_ctx.values.currentTableName);
    core::guarded(m_ctx.questions, [this] { IniAllDictList(); });
    if (wasOpen) {
        try {
            m_tableWnioski->open();
        } catch (const core::DbError &) {
            // Left closed; the register's own opening tells what is wrong.
        }
    }
}

void TFormVarnelMain::setRegisterMenuState() {
    const bool archive = m_ctx.values.showsArchive();
    QAction *aktualne = menuItem(QStringLiteral("SmnuAktualne"));
    aktualne->setChecked(!archive);
    aktualne->setEnabled(archive);
    menuItem(QStringLiteral("SMnuZamknijMies"))->setEnabled(!archive);
    menuItem(QStringLiteral("SMnuCtrlAkt"))->setEnabled(!archive);
    menuItem(QStringLiteral("SMnuPrzeliczDod"))->setEnabled(!archive);
}

void TFormVarnelMain::SmnuAktualneClick() {
    m_ctx.values.currentTableName = QStringLiteral("Aktualne");
    ChangeTable();
    ZmienNaglowekMain();
    setRegisterMenuState();
    PokazListeWnioskow();
}

void TFormVarnelMain::PokazListeWnioskow() {
    m_tableWnioski->close();
    m_tableWnioski->setTableName(m_ctx.values.currentTableName);
    if (!core::guarded(m_ctx.questions, [this] { m_tableWnioski->open(); }))
        return;
    core::guarded(m_ctx.questions, [this] { ModiSortOrder(); });
    m_grid->viewport()->update();
}

void TFormVarnelMain::setSortOrder(SortOrder order) {
    m_sortButton[order]->setChecked(true);
    SButtonClick(order);
}

void TFormVarnelMain::SButtonClick(SortOrder order) {
    m_order = order;
    core::guarded(m_ctx.questions, [this] { ModiSortOrder(); });
}

void TFormVarnelMain::ModiSortOrder() {
    for (const auto &[order, button] : m_sortButton)
        if (button->isChecked())
            m_order = order;
    m_editSeek->setEnabled(true);
    if (m_tableWnioski->isOpen())
        m_tableWnioski->setIndexName(indexForOrder(m_order));
    switch (m_order) {
    case SortOrder::Nazwiska:
    case SortOrder::Adres:
        m_editSeek->setText(QString());
        break;
    case SortOrder::Kwota:
        m_editSeek->setText(QString());
        m_editSeek->setEnabled(false);
        break;
    case SortOrder::NrDec:
        if (m_ctx.values.sortAlgorithm == 1) {
            Table param(m_ctx.db, QStringLiteral("param.db"));
            param.open();
            param.first();
            m_editSeek->setText(param.field(QStringLiteral("Wzor_NrDec")).asString());
        } else {
            m_editSeek->setText(QString());
        }
        break;
    }
}

void TFormVarnelMain::EditSeekChange(const QString &text) {
    m_seekText = text;
    if (!m_tableWnioski->isOpen())
        return;
    core::guarded(m_ctx.questions, [&] {
        const auto key = searchKeyFor(m_order, text, m_ctx.values.sortAlgorithm);
        m_tableWnioski->findNearest(key ? QVariantList{key->value} : QVariantList{});
    });
}

bool TFormVarnelMain::wynikiPosrednie() const { return menuItem(QStringLiteral("SMnuWynikiPosrednie"))->isChecked(); }
bool TFormVarnelMain::pelnaInformacja() const { return menuItem(QStringLiteral("SMnuPelnaInfo"))->isChecked(); }

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
    if (!m_tableWnioski->isOpen() || m_tableWnioski->isEmpty())
        return;
    if (!m_ctx.questions.confirm(QStringLiteral("Usunąć pozycję ?")))
        return;
    core::guarded(m_ctx.questions, [this] { m_tableWnioski->remove(); });
}

void TFormVarnelMain::SMnuKoniecClick() {
    if (m_ctx.questions.confirm(QStringLiteral("Zakończyć pracę programu ?")))
        close();
}

void TFormVarnelMain::Closeall() {
    if (m_tableWnioski->isOpen())
        m_tableWnioski->close();
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
