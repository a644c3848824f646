#include "register/Register.h"

#include "admin/Dictionaries.h"
#include "core/Context.h"
#include "core/DbError.h"
#include "core/Guard.h"
#include "core/Questions.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Upgrade.h"

#include <QDate>

namespace varnel::reg {

using data::Table;

namespace {

// The application record as the register shows it, with the two fields the
// list computes for every row.
std::unique_ptr<Table> makeView(data::Database &db, const QString &name) {
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

// The rebuilds of an archive of an older layout, by the first missing field
// in this order.
enum class ArchiveStep { Full1141, Partial1141, Step1152, Step116 };
struct ArchiveUpgrade {
    const char *field;
    ArchiveStep step;
    const char *message;
};
const ArchiveUpgrade ArchiveUpgrades[] = {
    {"Calosc_do_rak", ArchiveStep::Full1141, "   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.14.1  "},
    {"KosztKwh", ArchiveStep::Partial1141, "   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.14.1  "},
    {"IlOsobNaWozku", ArchiveStep::Step1152, "   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.15.2  "},
    {"WskProc", ArchiveStep::Step116, "   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.16  "},
};
const QString ArchiveRestartText = QStringLiteral("Aby zakończyć aktualizację archiwum trzeba ponownie uruchomić program!");

}  // namespace

Register::Register(core::Context &ctx, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_view(makeView(ctx.db, CurrentApplications)), m_choiceLists(this) {}

Register::~Register() = default;

bool Register::showsArchive() const {
    return m_tableName.compare(CurrentApplications, Qt::CaseInsensitive) != 0;
}

// ---------------------------------------------------------------------------
// The table switch

SwitchOutcome Register::ChangeTable(const QString &tableName, std::optional<ArchiveParameters> parameters) {
    const bool wasOpen = m_view->isOpen();
    m_view->close();
    m_tableName = tableName;
    m_view->setTableName(tableName);
    emit tableNameChanged(m_tableName);
    core::guarded(m_ctx.questions, [this] { IniAllDictList(); });
    if (!parameters)
        parameters = m_listedParameters;
    if (!wasOpen)
        return SwitchOutcome::Closed;
    return reopen(parameters);
}

SwitchOutcome Register::reopen(const std::optional<ArchiveParameters> &parameters) {
    // Each rebuild adds what one missing field needs; a table that lacks
    // several is rebuilt step by step. Four rounds are all there can be.
    for (int round = 0; round <= int(std::size(ArchiveUpgrades)); ++round) {
        try {
            m_view->open();
            return SwitchOutcome::Opened;
        } catch (const core::MissingFieldError &) {
            bool restart = false;
            if (!upgradeOldArchive(parameters, restart))
                return SwitchOutcome::Closed;
            if (restart) {
                m_ctx.questions.inform(ArchiveRestartText);
                emit restartRequired();
                return SwitchOutcome::Restart;
            }
        } catch (const core::DbError &) {
            // Left closed; the opening of the list tells what is wrong.
            return SwitchOutcome::Closed;
        }
    }
    return SwitchOutcome::Closed;
}

// Rebuilds the table in view by the first missing field that a rebuild
// adds. False when no rebuild applies or the rebuild failed (told; the
// table is as it was).
bool Register::upgradeOldArchive(const std::optional<ArchiveParameters> &parameters, bool &restart) {
    const data::TableDef stored = m_ctx.db.tableDef(m_tableName);
    const auto has = [&stored](const char *field) {
        for (const auto &f : stored.fields)
            if (f.name.compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    const ArchiveUpgrade *upgrade = nullptr;
    for (const ArchiveUpgrade &u : ArchiveUpgrades) {
        if (!has(u.field)) {
            upgrade = &u;
            break;
        }
    }
    if (!upgrade)
        return false;

    m_ctx.questions.inform(QString::fromUtf8(upgrade->message));
    const ArchiveParameters p = parameters.value_or(ArchiveParameters{});
    std::unique_ptr<core::Progress> bar = m_progress ? m_progress() : nullptr;
    core::NoProgress none;
    core::Progress &progress = bar ? *bar : none;
    const bool done = core::guarded(m_ctx.questions, [&] {
        switch (upgrade->step) {
        case ArchiveStep::Full1141:
        case ArchiveStep::Partial1141:
            data::Upgrade1141(m_ctx.db, m_tableName, upgrade->step == ArchiveStep::Full1141, p.najnEmer, p.kosztKwh, progress);
            break;
        case ArchiveStep::Step1152:
            data::Upgrade1152(m_ctx.db, m_tableName, progress);
            break;
        case ArchiveStep::Step116:
            data::Upgrade116Dane(m_ctx.db, m_tableName, progress);
            break;
        }
    });
    restart = done && (upgrade->step == ArchiveStep::Full1141 || upgrade->step == ArchiveStep::Partial1141);
    return done;
}

bool Register::PokazListeWnioskow() {
    m_view->close();
    m_view->setTableName(m_tableName);
    if (!core::guarded(m_ctx.questions, [this] { m_view->open(); }))
        return false;
    core::guarded(m_ctx.questions, [this] { ModiSortOrder(); });
    return true;
}

// ---------------------------------------------------------------------------
// Choice lists

std::optional<ArchiveParameters> Register::checkArchiveList() {
    const ArchiveMonth m = decodeArchiveName(m_tableName);
    if (!m.month || !m.year) {
        m_ctx.questions.inform(QStringLiteral("Błąd dekodowania daty: ") + m_tableName);
        return std::nullopt;
    }
    Table list(m_ctx.db, QStringLiteral("ArcLista.db"));
    list.open();
    const QDate key = QDate(*m.year, *m.month, 1);
    if (!key.isValid() || !list.findKey({key})) {
        m_ctx.questions.inform(QStringLiteral("Brak w archiwum: ") + m_tableName);
        return std::nullopt;
    }
    return ArchiveParameters{list.field(QStringLiteral("NajnEmer")).asFloat(), list.field(QStringLiteral("KosztKwh")).asFloat()};
}

void Register::IniAllDictList() {
    m_listedParameters.reset();
    if (showsArchive())
        m_listedParameters = checkArchiveList();
    m_choiceLists.set(admin::dictionaryTexts(m_ctx.db, QStringLiteral("Zarzadcy.db")),
                      admin::dictionaryTexts(m_ctx.db, QStringLiteral("statlok.db")),
                      admin::dictionaryTexts(m_ctx.db, QStringLiteral("tytprawn.db")));
}

// ---------------------------------------------------------------------------
// Order and search

void Register::setSortOrder(SortOrder order) {
    m_order = order;
    ModiSortOrder();
}

void Register::ModiSortOrder() {
    if (m_view->isOpen())
        m_view->setIndexName(indexForOrder(m_order));
    QString text;
    if (m_order == SortOrder::NrDec && m_ctx.values.sortAlgorithm == 1) {
        Table param(m_ctx.db, QStringLiteral("param.db"));
        param.open();
        param.first();
        text = param.field(QStringLiteral("Wzor_NrDec")).asString();
    }
    emit sortOrderApplied(m_order, text);
}

void Register::primaryIndexInForce() {
    m_order = SortOrder::Primary;
    ModiSortOrder();
}

void Register::seek(const QString &text) {
    if (!searchTextFits(m_order, text))
        return;
    m_searchText = text;
    if (!m_view->isOpen())
        return;
    const auto key = searchKeyFor(m_order, text, m_ctx.values.sortAlgorithm);
    m_view->findNearest(key ? QVariantList{key->value} : QVariantList{});
}

// ---------------------------------------------------------------------------
// Switches and parameters

void Register::setWynikiPosrednie(bool on) {
    if (m_wynikiPosrednie == on)
        return;
    m_wynikiPosrednie = on;
    emit switchesChanged();
}

void Register::setPelnaInformacja(bool on) {
    if (m_pelnaInformacja == on)
        return;
    m_pelnaInformacja = on;
    emit switchesChanged();
}

Register::PrintSwitches Register::readParameters() {
    Table param(m_ctx.db, QStringLiteral("param.db"));
    param.open();
    param.first();
    m_ctx.values.decisionPattern = param.field(QStringLiteral("Wzor_NrDec")).asString();
    m_ctx.values.sortAlgorithm = int(param.field(QStringLiteral("AlgorytmSortowania")).asInteger());
    return {param.field(QStringLiteral("DrukujMetryczke")).asBoolean(), param.field(QStringLiteral("DrukujStopke")).asBoolean()};
}

void Register::storePrintSwitch(const QString &field, bool on) {
    Table param(m_ctx.db, QStringLiteral("param.db"));
    param.open();
    param.first();
    if (param.isEmpty())
        return;
    param.edit();
    param.field(field).setBoolean(on);
    param.post();
}

}  // namespace varnel::reg
