#include "app/StartUp.h"

#include "core/Context.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Upgrade.h"
#include "core/Guard.h"
#include "core/Progress.h"
#include "core/Questions.h"

namespace varnel::app {

namespace {

const QString RestartText = QStringLiteral("Proszę ponownie uruchomić program!");

QStringList fieldNamesOf(const data::TableDef &def) {
    QStringList names;
    for (const auto &f : def.fields)
        names << f.name;
    return names;
}

std::unique_ptr<core::Progress> makeProgress(const ProgressFactory &factory) {
    std::unique_ptr<core::Progress> p = factory ? factory() : nullptr;
    if (!p)
        p = std::make_unique<core::NoProgress>();
    return p;
}

}  // namespace

UpgradeOutcome MakeUpgrade(Context &ctx, const ProgressFactory &progress) {
    // 1. The parameters: the values an upgrade of the applications writes.
    double kosztKwh = 0;
    double minEmeryt = 0;
    try {
        data::Table param(ctx.db, QStringLiteral("param"));
        param.setFieldNames(fieldNamesOf(data::paramTableDef()));
        param.open();
        param.first();
        kosztKwh = param.field(QStringLiteral("Koszt_kwh")).asFloat();
        minEmeryt = param.field(QStringLiteral("Min_emeryt")).asCurrency();
    } catch (const core::MissingFieldError &e) {
        if (e.field().compare(QLatin1String("WskaznikProc"), Qt::CaseInsensitive) == 0) {
            ctx.questions.inform(
                QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja tabeli parametrów do wersji 1.16  "));
            if (!core::guarded(ctx.questions, [&] { data::Upgrade116Param(ctx.db); }))
                return UpgradeOutcome::Failed;
            ctx.questions.inform(RestartText);
            return UpgradeOutcome::Restart;
        }
        // Any other missing field: reported when the parameters are read.
    } catch (const core::DbError &) {
        // Reported by the reading of the parameters after this check.
    }

    // 2. The current applications.
    QString missing;
    try {
        data::Table applications(ctx.db, QStringLiteral("Aktualne"));
        applications.setFieldNames(data::applicationFieldNames());
        applications.open();
        return UpgradeOutcome::GoOn;
    } catch (const core::MissingFieldError &e) {
        missing = e.field();
    } catch (const core::DbError &) {
        // Reported by the first opening of the register.
        return UpgradeOutcome::GoOn;
    }

    const auto is = [&](const char *field) { return missing.compare(QLatin1String(field), Qt::CaseInsensitive) == 0; };
    const QString table = QStringLiteral("Aktualne");
    if (is("Calosc_do_rak") || is("KosztKwh")) {
        const bool full = is("Calosc_do_rak");
        ctx.questions.inform(QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja baz danych do wersji 1.14.1  "));
        auto bar = makeProgress(progress);
        if (!core::guarded(ctx.questions, [&] { data::Upgrade1141(ctx.db, table, full, minEmeryt, kosztKwh, *bar); }))
            return UpgradeOutcome::Failed;
        ctx.questions.inform(RestartText);
        return UpgradeOutcome::Restart;
    }
    if (is("IlOsobNaWozku")) {
        ctx.questions.inform(QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja baz danych do wersji 1.15.2  "));
        auto bar = makeProgress(progress);
        return core::guarded(ctx.questions, [&] { data::Upgrade1152(ctx.db, table, *bar); }) ? UpgradeOutcome::GoOn
                                                                            : UpgradeOutcome::Failed;
    }
    if (is("WskProc")) {
        ctx.questions.inform(QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja baz danych do wersji 1.16  "));
        auto bar = makeProgress(progress);
        return core::guarded(ctx.questions, [&] { data::Upgrade116Dane(ctx.db, table, *bar); }) ? UpgradeOutcome::GoOn
                                                                              : UpgradeOutcome::Failed;
    }
    // Another field is missing: the first opening of the register reports it.
    return UpgradeOutcome::GoOn;
}

}  // namespace varnel::app
