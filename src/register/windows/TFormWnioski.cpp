#include "register/windows/TFormWnioski.h"

#include "admin/DecisionKey.h"
#include "admin/Dictionaries.h"
#include "core/Context.h"
#include "calc/AllowanceRecord.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "data/Table.h"
#include "data/Values.h"
#include "register/Register.h"
#include "ui/DbControls.h"
#include "core/FileDialogs.h"
#include "core/Guard.h"
#include "core/Questions.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace varnel::reg {

using data::Table;
using ui::NumberStyle;

namespace {

const QPoint QuestionPos(200, 300);

enum Page { PageWnioskodawca = 0, PageLokal = 1, PageDochody = 2, PageTerminy = 3 };

QLineEdit *resultEdit(const QString &name, QWidget *parent) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignRight);
    e->setMaximumWidth(110);
    return e;
}

QLabel *label(const QString &text, QWidget *parent, const QString &name = QString()) {
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

QFrame *panel(const QString &name, QWidget *parent) {
    auto *f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

// A control that comes and goes with the results keeps its room while
// hidden, so that nothing on the form moves when it appears.
void keepPlace(QWidget *w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

}  // namespace

TFormWnioski::TFormWnioski(core::Context &context, Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_reg(reg) {
    setObjectName(QStringLiteral("FormWnioski"));
    setModal(true);
    m_source.setQuestions(&m_ctx.questions);
    m_source.setTable(&m_reg.TableWnioski());

    auto *layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    layout->addWidget(PageControl);
    buildPages();
    buildResults();
    layout->addWidget(PanelResults);
    buildButtons();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCofnij);
    buttons->addStretch();
    buttons->addWidget(ButtonPrzelicz);
    buttons->addWidget(ButtonDrukuj);
    layout->addLayout(buttons);

    // The results, the intermediate panels and the working labels keep their
    // room while hidden: the form's size and its buttons stay where they are
    // when "Przelicz" shows them, whatever "Wyniki pośrednie" says.
    for (QWidget *w : std::initializer_list<QWidget *>{PanelResults, PanelPosrResults, PanelPosrLokal, PanelPosrDochody,
                                                       LabelDotBezWar, EditDodBezWar, LabelM07, LabelC09})
        keepPlace(w);
    // Labels whose text the calculation changes are as wide as their longest
    // text from the start.
    const QFontMetrics fm(font());
    LabelRyczProc->setMinimumWidth(fm.horizontalAdvance(calc::ryczProcLabel(true)));
    for (QLabel *l : {LabelM07, LabelC09})
        l->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("*0.70=99999.99")));
    LabelNadwyzka->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Nadwyżka pon.175% najn.emeryt.")));
    LabelProcentDochodow->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("20% dochodów gospodarstwa:")));

    fillChoiceLists();
    connect(&m_reg.choiceLists(), &ChoiceLists::changed, this, [this] { fillChoiceLists(); });
}

// ---------------------------------------------------------------------------
// Building the form

void TFormWnioski::buildPages() {
    auto bound = [this](QWidget *page, const QString &name, const QString &field, const QString &caption,
                        NumberStyle style = NumberStyle::Plain) {
        auto *e = new ui::DbLineEdit(page);
        e->setObjectName(name);
        e->setNumberStyle(style);
        e->setCaption(caption);
        e->bind(&m_source, field);
        return e;
    };
    auto readOnly = [&](QWidget *page, const QString &name, const QString &field, NumberStyle style) {
        ui::DbLineEdit *e = bound(page, name, field, name, style);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(110);
        return e;
    };
    auto combo = [this](QWidget *page, const QString &name, const QString &field, const QString &caption) {
        auto *c = new ui::DbComboBox(page);
        c->setObjectName(name);
        c->setCaption(caption);
        c->bind(&m_source, field);
        return c;
    };
    auto check = [this](QWidget *page, const QString &name, const QString &field, const QString &text) {
        auto *c = new ui::DbCheckBox(text, page);
        c->setObjectName(name);
        c->bind(&m_source, field);
        return c;
    };
    auto strip = [](const QString &caption) { return QString(caption).remove(QLatin1Char(':')).trimmed(); };

    // "Wnioskodawca"
    QWidget *p = m_pages[PageWnioskodawca] = new QWidget;
    auto *g = new QGridLayout(p);
    int row = 0;
    auto line = [&](QGridLayout *grid, QWidget *page, const QString &caption, const QString &name, const QString &field,
                    NumberStyle style = NumberStyle::Plain) {
        grid->addWidget(label(caption, page), row, 0);
        ui::DbLineEdit *e = bound(page, name, field, strip(caption), style);
        grid->addWidget(e, row++, 1);
        return e;
    };
    line(g, p, QStringLiteral("Nazwisko:"), QStringLiteral("DBEditNazwisko"), QStringLiteral("Nazwisko"));
    line(g, p, QStringLiteral("Imię:"), QStringLiteral("DBEdit3"), QStringLiteral("Imie"));
    line(g, p, QStringLiteral("Data ur.:"), QStringLiteral("DBEdit6"), QStringLiteral("Data_urodz"))->setMaximumWidth(110);
    g->addWidget(label(QStringLiteral("Adres:"), p), row++, 0);
    line(g, p, QStringLiteral("Miejsc.:"), QStringLiteral("DBEdit2"), QStringLiteral("Adres_miejsc"));
    line(g, p, QStringLiteral("Ulica:"), QStringLiteral("DBEdit4"), QStringLiteral("Adres_ulica"));
    line(g, p, QStringLiteral("Nr:"), QStringLiteral("DBEdit5"), QStringLiteral("Adres_nr"))->setMaximumWidth(110);
    line(g, p, QStringLiteral("Nr decyzji:"), QStringLiteral("DBENrDec"), QStringLiteral("Numer_decyzji"));
    g->setRowStretch(row, 1);
    g->setColumnStretch(1, 1);
    PageControl->addTab(p, QStringLiteral("Wnioskodawca"));

    // "Lokal"
    p = m_pages[PageLokal] = new QWidget;
    g = new QGridLayout(p);
    row = 0;
    g->addWidget(label(QStringLiteral("Zarządca:"), p), row, 0);
    DBCBoxZarzadca = combo(p, QStringLiteral("DBCBoxZarzadca"), QStringLiteral("Zarzadca"), QStringLiteral("Zarządca"));
    DBCBoxZarzadca->setSorted(true);
    g->addWidget(DBCBoxZarzadca, row++, 1, 1, 3);
    g->addWidget(label(QStringLiteral("Tytuł prawny:"), p), row, 0);
    DBCBoxTytPrawny = combo(p, QStringLiteral("DBCBoxTytPrawny"), QStringLiteral("Tytul_prawny"), QStringLiteral("Tytuł prawny"));
    DBCBoxTytPrawny->setSorted(true);
    g->addWidget(DBCBoxTytPrawny, row++, 1, 1, 3);
    auto pair = [&](const QString &caption, QWidget *w, int column) {
        g->addWidget(label(caption, p), row, column);
        g->addWidget(w, row, column + 1);
    };
    ui::DbLineEdit *persons = bound(p, QStringLiteral("DBELiczbaOsob"), QStringLiteral("Liczba_osob"), QStringLiteral("Liczba osób"));
    persons->setRange(0, 999);
    ui::DbLineEdit *area = bound(p, QStringLiteral("DBEPowUzytk"), QStringLiteral("Pow_uzytk"), QStringLiteral("Pow.użytk."),
                                 NumberStyle::TwoPlaces);
    area->setRange(0, 1e6);
    pair(QStringLiteral("Liczba osób :"), persons, 0);
    pair(QStringLiteral("Pow.użytk.:"), area, 2);
    ++row;
    ui::DbComboBox *stan = combo(p, QStringLiteral("DBCBoxStanPrawny"), QStringLiteral("Ureg_stan_prawny"),
                                 QStringLiteral("Uregulowany stan prawny"));
    stan->setItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    pair(QStringLiteral("Uregulowany stan prawny:"), stan, 0);
    ++row;
    g->addWidget(label(QStringLiteral("Status lokalu:"), p), row, 0);
    DBCBoxStatusLokalu = combo(p, QStringLiteral("DBCBoxStatusLokalu"), QStringLiteral("Status_lokalu"), QStringLiteral("Status lokalu"));
    g->addWidget(DBCBoxStatusLokalu, row++, 1, 1, 3);
    ui::DbComboBox *kuchnia = combo(p, QStringLiteral("DBComboBox1"), QStringLiteral("PowKuchniPonad60"),
                                    QStringLiteral("Pow.kuchni i pokoi przekracza 60%"));
    kuchnia->setItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    pair(QStringLiteral("Pow.kuchni i pokoi przekracza 60%"), kuchnia, 0);
    ++row;
    pair(QStringLiteral("Koszt kWh"), bound(p, QStringLiteral("DBEKosztKwh"), QStringLiteral("KosztKwh"), QStringLiteral("Koszt kWh")), 0);
    pair(QStringLiteral("Najn.emeryt."),
         bound(p, QStringLiteral("DBENajnEmer"), QStringLiteral("NajnEmeryt"), QStringLiteral("Najn.emeryt."), NumberStyle::Money), 2);
    ++row;
    ui::DbLineEdit *wozek = bound(p, QStringLiteral("DBEdit1"), QStringLiteral("IlOsobNaWozku"), QStringLiteral("Ilość osób na wózku"));
    wozek->setRange(0, 999);
    pair(QStringLiteral("Ilość osób na wózku:"), wozek, 0);
    ++row;
    PanelPosrLokal = panel(QStringLiteral("PanelPosrLokal"), p);
    auto *pl = new QHBoxLayout(PanelPosrLokal);
    pl->addWidget(label(QStringLiteral("Powierzchnia normat.:"), PanelPosrLokal));
    pl->addWidget(readOnly(PanelPosrLokal, QStringLiteral("DBEPowNormat"), QStringLiteral("Pow_normatywna"), NumberStyle::TwoPlaces));
    pl->addStretch();
    g->addWidget(PanelPosrLokal, row++, 0, 1, 4);
    g->setRowStretch(row, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    PageControl->addTab(p, QStringLiteral("Lokal"));

    // "Dochody/Wydatki"
    p = m_pages[PageDochody] = new QWidget;
    g = new QGridLayout(p);
    row = 0;
    auto money = [&](const QString &caption, const QString &name, const QString &field) {
        g->addWidget(label(caption, p), row, 0, 1, 2);
        ui::DbLineEdit *e = bound(p, name, field, strip(caption), NumberStyle::Money);
        e->setMaximumWidth(110);
        g->addWidget(e, row++, 2);
        return e;
    };
    money(QStringLiteral("Łączny dochód wszystkich członków gosp. domowego (średnia miesięczna):"), QStringLiteral("DBEDochodRazem"),
          QStringLiteral("Dochod_razem"));
    money(QStringLiteral("Czynsz potwierdzony przez zarządcę:"), QStringLiteral("DBEWydatkiCzynsz"), QStringLiteral("Wydatki_czynsz"));
    money(QStringLiteral("Opłaty dodatkowe poza czynszem:"), QStringLiteral("DBEOplataDodatk"), QStringLiteral("OplatyDodatkowe"));
    g->addWidget(label(QStringLiteral("Ryczałty:"), p), row, 0);
    auto *lumps = new QHBoxLayout;
    lumps->addWidget(check(p, QStringLiteral("DBCBoxRyczaltCO"), QStringLiteral("Ryczalt_CO"), QStringLiteral("CO")));
    lumps->addWidget(check(p, QStringLiteral("DBCBoxWoda"), QStringLiteral("Ryczalt_woda"), QStringLiteral("CW")));
    lumps->addWidget(check(p, QStringLiteral("DBCBoxGaz"), QStringLiteral("Ryczalt_gaz"), QStringLiteral("Gaz")));
    lumps->addStretch();
    g->addLayout(lumps, row++, 1, 1, 2);
    g->addWidget(check(p, QStringLiteral("DBCBoxRyczaltDoRak"), QStringLiteral("Ryczalt_do_rak"), QStringLiteral("Ryczałt wypłacać wnioskodawcy")),
                 row++, 1, 1, 2);
    g->addWidget(check(p, QStringLiteral("DBCBoxCaloscDoRak"), QStringLiteral("Calosc_do_rak"), QStringLiteral("Całość wypłacać wnioskod.")),
                 row++, 1, 1, 2);
    g->addWidget(label(QStringLiteral("Wskaźnik proc.:"), p), row, 0, 1, 2);
    ui::DbLineEdit *wsk = bound(p, QStringLiteral("DBEWskProc"), QStringLiteral("WskProc"), QStringLiteral("Wskaźnik proc."));
    wsk->setMaximumWidth(110);
    g->addWidget(wsk, row++, 2);

    PanelPosrDochody = panel(QStringLiteral("PanelPosrDochody"), p);
    auto *pd = new QGridLayout(PanelPosrDochody);
    int r = 0;
    pd->addWidget(label(QStringLiteral("Łączna kwota wydatków.:"), PanelPosrDochody), r, 0);
    pd->addWidget(readOnly(PanelPosrDochody, QStringLiteral("DBEWydatkiRazem"), QStringLiteral("Wydatki_razem"), NumberStyle::Money), r, 1);
    LabelM07 = label(QString(), PanelPosrDochody, QStringLiteral("LabelM07"));
    pd->addWidget(LabelM07, r++, 2);
    LabelRyczProc = label(calc::ryczProcLabel(true), PanelPosrDochody, QStringLiteral("LabelRyczProc"));
    pd->addWidget(LabelRyczProc, r, 0);
    pd->addWidget(readOnly(PanelPosrDochody, QStringLiteral("DBERyczalt"), QStringLiteral("Ryczalt_procent"), NumberStyle::Digits3), r, 1);
    pd->addWidget(label(QStringLiteral("[%]"), PanelPosrDochody), r++, 2);
    pd->addWidget(label(QStringLiteral("Ryczałt za CO+CW+gaz"), PanelPosrDochody), r, 0);
    pd->addWidget(readOnly(PanelPosrDochody, QStringLiteral("DBERyczMax"), QStringLiteral("RyczaltMax"), NumberStyle::Money), r++, 1);
    pd->addWidget(label(QStringLiteral("Wydatki wg pow. normat.:"), PanelPosrDochody), r, 0);
    pd->addWidget(readOnly(PanelPosrDochody, QStringLiteral("DBEWydatkiWgPow"), QStringLiteral("Wydatki_wg_pow"), NumberStyle::Money), r, 1);
    LabelC09 = label(QString(), PanelPosrDochody, QStringLiteral("LabelC09"));
    pd->addWidget(LabelC09, r++, 2);
    pd->addWidget(label(QStringLiteral("Wydatki skorygowane [90%]"), PanelPosrDochody), r, 0);
    ui::DbLineEdit *w90 = bound(PanelPosrDochody, QStringLiteral("DBEWydatki90"), QStringLiteral("Wydatki_razem90"),
                                QStringLiteral("Wydatki skorygowane [90%]"), NumberStyle::Money);
    w90->setMaximumWidth(110);
    pd->addWidget(w90, r++, 1);
    pd->setColumnStretch(2, 1);
    g->addWidget(PanelPosrDochody, row++, 0, 1, 3);
    g->setRowStretch(row, 1);
    g->setColumnStretch(1, 1);
    PageControl->addTab(p, QStringLiteral("Dochody/Wydatki"));

    // "Terminy"
    p = m_pages[PageTerminy] = new QWidget;
    g = new QGridLayout(p);
    row = 0;
    g->addWidget(label(QStringLiteral("Przyznano na okres:"), p), row++, 0);
    line(g, p, QStringLiteral("od:"), QStringLiteral("DBEOkresOd"), QStringLiteral("Okres_od"))->setCaption(QStringLiteral("Okres od"));
    line(g, p, QStringLiteral("do:"), QStringLiteral("DBEOkresDo"), QStringLiteral("Okres_do"))->setCaption(QStringLiteral("Okres do"));
    line(g, p, QStringLiteral("Termin płatności:"), QStringLiteral("DBETerminPlatn"), QStringLiteral("Termin_platnosci"));
    line(g, p, QStringLiteral("Data złożenia wniosku:"), QStringLiteral("DBEDataZloz"), QStringLiteral("Data_zlozenia"));
    g->setRowStretch(row, 1);
    g->setColumnStretch(1, 1);
    PageControl->addTab(p, QStringLiteral("Terminy"));
    for (const char *n : {"DBEOkresOd", "DBEOkresDo", "DBEDataZloz"})
        control(QString::fromLatin1(n))->setMaximumWidth(110);
}

void TFormWnioski::buildResults() {
    PanelResults = panel(QStringLiteral("PanelResults"), this);
    auto *v = new QVBoxLayout(PanelResults);
    PanelPosrResults = panel(QStringLiteral("PanelPosrResults"), PanelResults);
    auto *g = new QGridLayout(PanelPosrResults);
    LabelProcentDochodow = label(QStringLiteral("12% dochodów gospodarstwa:"), PanelPosrResults, QStringLiteral("LabelProcentDochodow"));
    EditProcDoch = resultEdit(QStringLiteral("EditProcDoch"), PanelPosrResults);
    EditWysDod = resultEdit(QStringLiteral("EditWysDod"), PanelPosrResults);
    EditDochNaCzlonka = resultEdit(QStringLiteral("EditDochNaCzlonka"), PanelPosrResults);
    LabelNadwyzka = label(QStringLiteral("Nadwyżka pon.100% najn.emeryt."), PanelPosrResults, QStringLiteral("LabelNadwyzka"));
    EditNadwyzka = resultEdit(QStringLiteral("EditNadwyzka"), PanelPosrResults);
    LabelDotBezWar = label(QStringLiteral("Dodatek wyliczony:"), PanelPosrResults, QStringLiteral("LabelDotBezWar"));
    EditDodBezWar = resultEdit(QStringLiteral("EditDodBezWar"), PanelPosrResults);
    g->addWidget(LabelProcentDochodow, 0, 0);
    g->addWidget(EditProcDoch, 0, 1);
    g->addWidget(label(QStringLiteral("Wysokość dodatku mieszk.:"), PanelPosrResults), 0, 2);
    g->addWidget(EditWysDod, 0, 3);
    g->addWidget(label(QStringLiteral("Dochód na członka gosp. dom."), PanelPosrResults), 1, 0);
    g->addWidget(EditDochNaCzlonka, 1, 1);
    g->addWidget(LabelNadwyzka, 1, 2);
    g->addWidget(EditNadwyzka, 1, 3);
    g->addWidget(LabelDotBezWar, 2, 2);
    g->addWidget(EditDodBezWar, 2, 3);
    v->addWidget(PanelPosrResults);

    auto *totals = new QGridLayout;
    auto amount = [&](int column, const QString &caption, const QString &name, const QString &field) {
        totals->addWidget(label(caption, PanelResults), 0, column);
        auto *e = new ui::DbLineEdit(PanelResults);
        e->setObjectName(name);
        e->setNumberStyle(NumberStyle::Money);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight);
        e->bind(&m_source, field);
        totals->addWidget(e, 1, column);
    };
    amount(0, QStringLiteral("Fakt.wysokość dodatku mieszk."), QStringLiteral("DBEWyplataCalosc"), QStringLiteral("Wyplata_calosc"));
    amount(1, QStringLiteral("Ryczałt wypłacany wnioskod."), QStringLiteral("DBEWyplataRyczalt"), QStringLiteral("Wyplata_ryczalt"));
    amount(2, QStringLiteral("Wysokość dod. wypł. zarządcy:"), QStringLiteral("DBEWyplataZarzadca"), QStringLiteral("Wyplata_zarzadca"));
    v->addLayout(totals);
}

void TFormWnioski::buildButtons() {
    auto make = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    ButtonOK = make("ButtonOK", QStringLiteral("OK"));
    ButtonOK->setDefault(true);
    ButtonCofnij = make("ButtonCofnij", QStringLiteral("Cofnij"));
    ButtonPrzelicz = make("ButtonPrzelicz", QStringLiteral("Przelicz"));
    ButtonDrukuj = make("ButtonDrukuj", QStringLiteral("Drukuj decyzję"));
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(ButtonCofnij, &QPushButton::clicked, this, [this] { ButtonCofnijClick(); });
    connect(ButtonPrzelicz, &QPushButton::clicked, this, [this] { ButtonPrzeliczClick(); });
    connect(ButtonDrukuj, &QPushButton::clicked, this, [this] { ButtonDrukujClick(); });

    PopupMenuPrzelicz = new QMenu(this);
    PopupMenuPrzelicz->setObjectName(QStringLiteral("PopupMenuPrzelicz"));
    SMnuWgStarych = PopupMenuPrzelicz->addAction(QStringLiteral("Wg starych zasad"));
    SMnuWgStarych->setObjectName(QStringLiteral("SMnuWgStarych"));
    SMnuWgNowych = PopupMenuPrzelicz->addAction(QStringLiteral("Wg zasad po 1.01.2002 r."));
    SMnuWgNowych->setObjectName(QStringLiteral("SMnuWgNowych"));
    connect(SMnuWgStarych, &QAction::triggered, this, [this] { SMnuWgStarychClick(); });
    connect(SMnuWgNowych, &QAction::triggered, this, [this] { SMnuWgNowychClick(); });
}

QWidget *TFormWnioski::control(const QString &name) const { return findChild<QWidget *>(name); }

void TFormWnioski::fillChoiceLists() {
    const ChoiceLists &lists = m_reg.choiceLists();
    DBCBoxZarzadca->setItems(lists.managers);
    DBCBoxTytPrawny->setItems(lists.titles);
    DBCBoxStatusLokalu->setItems(lists.statuses);
}

// ---------------------------------------------------------------------------
// Opening

int TFormWnioski::ShowModal(int mode) {
    m_mode = mode;
    if (!core::guarded(m_ctx.questions, [this] { FormShow(); }))
        return QDialog::Rejected;
    return exec();
}

void TFormWnioski::FormShow() {
    m_closing = false;
    PanelResults->hide();
    LabelM07->clear();
    LabelC09->clear();
    LabelM07->hide();
    LabelC09->hide();
    Table &t = m_reg.TableWnioski();
    switch (m_mode) {
    case View:
        setWindowTitle(QStringLiteral("Wniosek:   ") + t.field(QStringLiteral("NazwIm")).asString());
        setDataPagesEnabled(false);
        break;
    case Add:
        setWindowTitle(QStringLiteral("Wniosek:   (Nowy)"));
        PageControl->setCurrentIndex(PageWnioskodawca);
        t.insert();
        presetNewRow();
        setDataPagesEnabled(true);
        break;
    default:
        setWindowTitle(QStringLiteral("Wniosek:   ") + t.field(QStringLiteral("NazwIm")).asString());
        t.edit();
        setDataPagesEnabled(true);
        break;
    }
    m_source.reloadControls();
    if (m_mode != View)
        focusByPage();
    if (m_mode != Add)
        applyIntermediateSwitch();
}

void TFormWnioski::presetNewRow() {
    Table &t = m_reg.TableWnioski();
    auto set = [&t](const char *field, const QVariant &v) { t.field(QString::fromLatin1(field)).setVariant(v); };
    set("PowKuchniPonad60", QStringLiteral("Tak"));
    set("Osoba_na_wozku", QStringLiteral("Nie"));
    set("Ureg_stan_prawny", QStringLiteral("Tak"));
    set("Ryczalt_procent", 0.0);
    set("ObliczeniaOK", false);
    set("Ryczalt_CO", false);
    set("Ryczalt_woda", false);
    set("Ryczalt_do_rak", true);
    set("Calosc_do_rak", false);
    set("OplatyDodatkowe", 0.0);
    set("Ryczalt_gaz", false);
    set("IlOsobNaWozku", 0);

    Table param(m_ctx.db, QStringLiteral("param.db"));
    param.open();
    param.first();
    if (param.isEmpty()) {
        set("Numer_decyzji", QVariant());
        set("Termin_platnosci", QVariant());
        return;
    }
    set("Numer_decyzji", param.field(QStringLiteral("Wzor_NrDec")).asVariant());
    set("Termin_platnosci", param.field(QStringLiteral("Wzor_PlatneDo")).asVariant());
    // A pattern date is taken only when it is set (later than the zero date).
    const QDate from = param.field(QStringLiteral("Wzor_OkresOd")).asDate();
    const QDate to = param.field(QStringLiteral("Wzor_OkresDo")).asDate();
    if (from > data::zeroDate())
        set("Okres_od", from);
    if (to > data::zeroDate())
        set("Okres_do", to);
    set("KosztKwh", param.field(QStringLiteral("Koszt_kwh")).asVariant());
    set("NajnEmeryt", param.field(QStringLiteral("Min_emeryt")).asVariant());
    set("WskProc", param.field(QStringLiteral("WskaznikProc")).asVariant());
}

void TFormWnioski::setDataPagesEnabled(bool enabled) {
    for (int p : {PageWnioskodawca, PageLokal, PageDochody})
        m_pages[p]->setEnabled(enabled);
    m_pages[PageTerminy]->setEnabled(true);
}

void TFormWnioski::focusByPage() {
    QWidget *target = nullptr;
    switch (PageControl->currentIndex()) {
    case PageWnioskodawca: target = control(QStringLiteral("DBENrDec")); break;
    case PageLokal: target = DBCBoxZarzadca; break;
    case PageDochody: target = control(QStringLiteral("DBEDochodRazem")); break;
    default: target = control(QStringLiteral("DBEDataZloz")); break;
    }
    if (!target)
        return;
    target->setFocus();
    // The dialog selects the whole text of the field the focus arrives in
    // when it is shown; the caret is put after the text (a preset decision
    // number is continued, not overwritten) once the focus has arrived.
    if (auto *e = qobject_cast<QLineEdit *>(target)) {
        m_caretTarget = e;
        e->installEventFilter(this);
    }
}

bool TFormWnioski::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn && watched == m_caretTarget) {
        QLineEdit *e = m_caretTarget;
        e->removeEventFilter(this);
        m_caretTarget = nullptr;
        QTimer::singleShot(0, e, [e] {
            e->deselect();
            e->end(false);
        });
    }
    return QDialog::eventFilter(watched, event);
}

void TFormWnioski::applyIntermediateSwitch() {
    const bool on = m_reg.wynikiPosrednie();
    PanelPosrLokal->setVisible(on);
    PanelPosrDochody->setVisible(on);
    PanelPosrResults->setVisible(on);
}

// ---------------------------------------------------------------------------
// Buttons

void TFormWnioski::ButtonOKClick() {
    Table &t = m_reg.TableWnioski();
    if (t.isEditing()) {
        try {
            t.post();
        } catch (const core::RequiredFieldError &e) {
            if (e.field() == QLatin1String("Nazwisko"))
                m_ctx.questions.inform(QStringLiteral("       Nie wprowadzono nazwiska!    "));
            else if (e.field() == QLatin1String("Imie"))
                m_ctx.questions.inform(QStringLiteral("       Nie wprowadzono imienia!    "));
            else
                m_ctx.questions.error(e.message());
            return;
        } catch (const core::FieldValueError &e) {
            m_ctx.questions.inform(e.message());
            return;
        } catch (const core::DbError &e) {
            m_ctx.questions.error(e.message());
            return;
        }
    }
    finish(QDialog::Accepted);
}

void TFormWnioski::ButtonCofnijClick() {
    Table &t = m_reg.TableWnioski();
    if (t.isEditing())
        core::guarded(m_ctx.questions, [&t] { t.cancel(); });
    finish(QDialog::Rejected);
}

void TFormWnioski::reject() { ButtonCofnijClick(); }

void TFormWnioski::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1 && showHelp) {
        showHelp(HelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormWnioski::closeEvent(QCloseEvent *event) {
    // The window's own close box: the row is stored as by "OK" (FormClose).
    event->ignore();
    finish(QDialog::Rejected);
}

void TFormWnioski::finish(int result) {
    if (!FormClose())
        return;
    m_closing = true;
    QDialog::done(result);
}

void TFormWnioski::done(int result) {
    if (m_closing) {
        QDialog::done(result);
        return;
    }
    finish(result);
}

// In add and update mode: the manager shown is marked as used, and the row
// gets its decision-number sort key. False when the row cannot be stored:
// the form stays open.
bool TFormWnioski::FormClose() {
    Table &t = m_reg.TableWnioski();
    if (m_mode == View) {
        // A change of the dates in view mode is stored, not left pending.
        if (t.isEditing())
            return core::guarded(m_ctx.questions, [&t] { t.post(); });
        return true;
    }
    core::guarded(m_ctx.questions, [&] { admin::markManagerUsed(m_ctx.db, DBCBoxZarzadca->currentText()); });
    return core::guarded(m_ctx.questions, [&] {
        m_source.updateRecord();  // text still being typed belongs to the row
        if (!t.isEditing()) {
            if (t.isEmpty())
                return;
            t.edit();
        }
        const QString number = t.field(QStringLiteral("Numer_decyzji")).asString();
        t.field(QStringLiteral("IndexNrSupport"))
            .setString(admin::WyliczIndexSupp(number, m_ctx.values.decisionPattern, m_ctx.values.sortAlgorithm));
        t.post();
    });
}

// ---------------------------------------------------------------------------
// Calculation

void TFormWnioski::MessCont(const QString &text, QPoint pos, bool &goOn) {
    goOn = m_ctx.questions.kontynuujPrzerwij(text, pos);
}

void TFormWnioski::applyDisplay(const calc::AllowanceDisplay &d) {
    using calc::Visibility;
    if (d.panelResults == Visibility::Shown)
        PanelResults->show();
    else if (d.panelResults == Visibility::Hidden)
        PanelResults->hide();
    if (d.resultsFilled) {
        EditProcDoch->setText(d.editProcDoch);
        EditWysDod->setText(d.editWysDod);
        EditDochNaCzlonka->setText(d.editDochNaCzlonka);
        LabelNadwyzka->setText(d.labelNadwyzka);
        EditNadwyzka->setText(d.editNadwyzka);
        EditDodBezWar->setText(d.editDodBezWar);
        LabelDotBezWar->setVisible(d.dodBezWarVisible);
        EditDodBezWar->setVisible(d.dodBezWarVisible);
    }
    if (d.labelProcentDochodow)
        LabelProcentDochodow->setText(*d.labelProcentDochodow);
    LabelRyczProc->setText(d.labelRyczProc);
    if (d.labelM07)
        LabelM07->setText(*d.labelM07);
    if (d.labelC09)
        LabelC09->setText(*d.labelC09);
    if (d.workingLabelsVisible) {
        LabelM07->show();
        LabelC09->show();
    }
}

void TFormWnioski::LiczDodatek(bool showResults, QPoint pos, bool showMessages, bool &valid, bool &goOn) {
    applyDisplay(calc::LiczDodatek(m_reg.TableWnioski(), showResults, pos, showMessages, valid, goOn, m_ctx.questions));
}

void TFormWnioski::LiczDodatekOld(bool showResults, QPoint pos, bool showMessages, bool &valid, bool &goOn) {
    applyDisplay(calc::LiczDodatekOld(m_reg.TableWnioski(), showResults, pos, showMessages, valid, goOn, m_ctx.questions));
}

void TFormWnioski::runCalculation(calc::Rules rules) {
    bool valid = true, goOn = true;
    core::guarded(m_ctx.questions, [&] {
        if (rules == calc::Rules::Current)
            LiczDodatek(true, QuestionPos, true, valid, goOn);
        else
            LiczDodatekOld(true, QuestionPos, true, valid, goOn);
    });
}

void TFormWnioski::ButtonPrzeliczClick() {
    if (!m_reg.showsArchive()) {
        runCalculation(calc::Rules::Current);
        return;
    }
    PopupMenuPrzelicz->popup(ButtonPrzelicz->mapToGlobal(QPoint(0, ButtonPrzelicz->height())));
}

void TFormWnioski::SMnuWgStarychClick() { runCalculation(calc::Rules::Before2002); }
void TFormWnioski::SMnuWgNowychClick() { runCalculation(calc::Rules::Current); }

void TFormWnioski::ButtonDrukujClick() {
    // From the main menu on an empty register there is no application to
    // print (the calculation would start a blank one).
    if (m_reg.TableWnioski().isOpen() && m_reg.TableWnioski().isEmpty() && !m_reg.TableWnioski().isEditing()) {
        m_ctx.questions.inform(QStringLiteral("Brak wniosku do wydrukowania."));
        return;
    }
    bool valid = true, goOn = true;
    if (!core::guarded(m_ctx.questions, [&] { LiczDodatek(true, QuestionPos, true, valid, goOn); }))
        return;
    // Only "Przerwij" stops printing; an invalid result does not.
    if (!goOn)
        return;
    Table &t = m_reg.TableWnioski();
    if (t.field(QStringLiteral("Okres_od")).isNull() || t.field(QStringLiteral("Okres_do")).isNull()) {
        MessCont(QStringLiteral("Nie zdefiniowano okresu przysługiwania!"), QuestionPos, goOn);
        if (!goOn)
            return;
    }
    if (t.field(QStringLiteral("Termin_platnosci")).isNull()) {
        MessCont(QStringLiteral("Nie wprowadzono teminu płatności!"), QuestionPos, goOn);
        if (!goOn)
            return;
    }
    QWidget *owner = isVisible() || !parentWidget() ? static_cast<QWidget *>(this) : parentWidget();
    const QString file = m_ctx.files.openFile(owner, m_ctx.db.directory(),
                                              QStringLiteral("Wzorzec decyzji (*.fmz)|*.fmz|Dowolny (*.*)|*.*"),
                                              QStringLiteral("fmz"));
    if (file.isEmpty())
        return;
    if (printDecision)
        printDecision(file);
    else
        m_ctx.questions.inform(QStringLiteral("Funkcja w przygotowaniu."));
}

}  // namespace varnel::reg
