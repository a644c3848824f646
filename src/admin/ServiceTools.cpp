#include "admin/ServiceTools.h"

#include "calc/Money.h"
#include "core/DbError.h"
#include "data/Table.h"
#include "data/Walk.h"

#include <QVector>
#include <functional>

namespace varnel::admin {

namespace {

const QString PowUzytk = QStringLiteral("Pow_uzytk");

// One walk of the service tools: the view returns to the row it stood on
// (when it is still there), whatever the walk did.
int walkApplications(data::Table &t, core::Progress *progress, const std::function<bool(data::Table &)> &work) {
    const qint64 current = t.isEmpty() ? 0 : t.rowId();
    data::WalkOptions options;
    options.progress = progress;
    int changed = 0;
    struct Return {
        data::Table &t;
        qint64 row;
        ~Return() {
            try {
                if (row != 0 && t.isOpen())
                    t.gotoRowId(row);
            } catch (...) {
            }
        }
    } back{t, current};
    data::walk(
        t,
        [&](data::Table &row) {
            if (work(row))
                ++changed;
            return true;
        },
        options);
    return changed;
}

QString applicant(data::Table &t) {
    return (t.field(QStringLiteral("Nazwisko")).asString() + QLatin1Char(' ') + t.field(QStringLiteral("Imie")).asString())
        .trimmed();
}

}  // namespace

std::optional<double> roundedArea(double area) { return calc::round2Checked(area); }

int ZaokraglijPowUzytk(data::Table &applications, core::Progress *progress) {
    return walkApplications(applications, progress, [](data::Table &t) {
        data::Field area = t.field(PowUzytk);
        if (area.isNull())
            return false;
        const std::optional<double> rounded = roundedArea(area.asFloat());
        if (!rounded)
            throw core::DbError(QStringLiteral("Powierzchni użytkowej %1 wniosku %2 nie można zaokrąglić: przekracza "
                                               "dopuszczalny zakres. Nic nie zmieniono.")
                                    .arg(QString::number(area.asFloat(), 'g', 17), applicant(t)));
        t.edit();
        area.setFloat(*rounded);
        t.post();
        return true;
    });
}

QVariant FieldSetting::choiceValue(bool yes) const {
    if (asText)
        return yes ? QStringLiteral("Tak") : QStringLiteral("Nie");
    return yes;
}

const FieldSetting *fieldSetting(int kind) {
    static const QVector<FieldSetting> kinds = {
        {1, QStringLiteral("Ustaw pole: \"Ryczalt_do_rak\""), QStringLiteral("Ryczalt_do_rak"), QString(), false},
        {2, QStringLiteral("Ustaw pole: \"Pow.pokoi i kuchni ponad 60%\""), QStringLiteral("PowKuchniPonad60"), QString(),
         true},
        {3, QStringLiteral("Ustaw pole: \"Ryczałt za gaz\""), QStringLiteral("Ryczalt_gaz"), QString(), false},
        {4, QStringLiteral("Ustaw pole: \"Całość do rąk\""), QStringLiteral("Calosc_do_rak"), QString(), false},
        {5, QStringLiteral("Ustaw pole: \"Koszt kWh\""), QStringLiteral("KosztKwh"), QStringLiteral("Koszt_kwh"), false},
        {6, QStringLiteral("Ustaw pole: \"Najniższa emerytura\""), QStringLiteral("NajnEmeryt"),
         QStringLiteral("Min_emeryt"), false},
    };
    if (kind < FirstFieldKind || kind > LastFieldKind)
        return nullptr;
    return &kinds[kind - FirstFieldKind];
}

int UstawPole(data::Table &applications, const QString &field, const QVariant &value, core::Progress *progress) {
    // Refused before the walk: the value is the same for every record.
    const int i = applications.fieldIndex(field);
    if (i < 0)
        throw core::MissingFieldError(applications.tableName(), field);
    const QVariant stored = data::Table::coerce(applications.fieldDef(i), value);
    return walkApplications(applications, progress, [&](data::Table &t) {
        t.edit();
        t.setValue(i, stored);
        t.post();
        return true;
    });
}

int Odkrec90proc(data::Table &applications, const QDate &from, core::Progress *progress) {
    if (!from.isValid())
        throw core::DbError(QStringLiteral("Nie podano daty początku okresu przysługiwania."));
    return walkApplications(applications, progress, [&](data::Table &t) {
        data::Field start = t.field(QStringLiteral("Okres_od"));
        if (start.isNull() || start.asDate() < from)
            return false;
        t.edit();
        for (const QString &name : {QStringLiteral("Wydatki_czynsz"), QStringLiteral("OplatyDodatkowe")}) {
            data::Field amount = t.field(name);
            if (!amount.isNull())
                amount.setCurrency(amount.asCurrency() * 10 / 9);
        }
        t.post();
        return true;
    });
}

}  // namespace varnel::admin
