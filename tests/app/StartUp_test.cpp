#include "core/Context.h"
#include "app/StartUp.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/Program.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"
#include "core/Progress.h"

#include <gtest/gtest.h>

using namespace varnel;
using app::UpgradeOutcome;
using test::column;
using Kind = test::ScriptedQuestions::Kind;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");
const QString ParamMessage = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja tabeli parametrów do wersji 1.16  ");
const QString Message1141 = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja baz danych do wersji 1.14.1  ");
const QString Message1152 = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja baz danych do wersji 1.15.2  ");
const QString Message116 = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja baz danych do wersji 1.16  ");
const QString Restart = QStringLiteral("Proszę ponownie uruchomić program!");

struct FailingProgress : core::Progress {
    void start(int) override {}
    void step() override { throw core::DbError(QStringLiteral("disk I/O error")); }
    void finish() override {}
};

class StartUp : public ::testing::Test {
protected:
    void makeParam(const QStringList &missing, double pension, double kwh) {
        db->createTable(test::without(data::paramTableDef(), missing));
        data::Table t(*db, QStringLiteral("param"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Min_emeryt")).setCurrency(pension);
        t.field(QStringLiteral("Koszt_kwh")).setFloat(kwh);
        t.post();
    }
    void makeApplications(const QStringList &missing) {
        db->createTable(test::without(data::applicationTableDef(), missing));
        test::addApplication(*db, Aktualne, QStringLiteral("Nowak"), {{QStringLiteral("Osoba_na_wozku"), "Tak"}});
        test::addApplication(*db, Aktualne, QStringLiteral("Lis"), {{QStringLiteral("Osoba_na_wozku"), "tak"}});
    }
    // One start: the check with fresh records of what was told.
    UpgradeOutcome start(core::Progress *progress = nullptr) {
        told.clear();
        core::Context ctx{*db, told, files, {}};
        return app::MakeUpgrade(ctx, [progress]() -> std::unique_ptr<core::Progress> {
            if (progress)
                return std::make_unique<Forward>(*progress);
            return nullptr;
        });
    }
    // Opening the register as the first showing does.
    void openRegister() {
        data::Table t(*db, Aktualne);
        t.setFieldNames(data::applicationFieldNames());
        t.open();
    }
    struct Forward : core::Progress {
        explicit Forward(core::Progress &p) : to(p) {}
        core::Progress &to;
        void start(int m) override { to.start(m); }
        void step() override { to.step(); }
        void finish() override { to.finish(); }
    };

    test::TempDatabase db;
    test::ScriptedQuestions told;
    test::ScriptedFiles files;
};

}  // namespace

TEST_F(StartUp, OldParametersAreRebuiltAloneFirstAndTheirValuesServeTheNextStart) {
    makeParam({"WskaznikProc"}, 1234.567851, 0.55);
    makeApplications(test::FieldsSince1141);

    EXPECT_EQ(start(), UpgradeOutcome::Restart);
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{ParamMessage, Restart}));
    EXPECT_EQ(column(*db, QStringLiteral("param"), QStringLiteral("WskaznikProc")), (QVariantList{70}));
    EXPECT_TRUE(db->tableExists(QStringLiteral("param_1153")));
    EXPECT_EQ(db->tableDef(Aktualne).fieldIndex(QStringLiteral("Calosc_do_rak")), -1);

    EXPECT_EQ(start(), UpgradeOutcome::Restart);
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message1141, Restart}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("KosztKwh")), (QVariantList{0.55, 0.55}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("NajnEmeryt")), (QVariantList{1234.5679, 1234.5679}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("Calosc_do_rak")), (QVariantList{false, false}));
}

TEST_F(StartUp, ThreeVersionsOldReachesTheCurrentLayoutOverSeveralStarts) {
    makeParam({}, 1000, 0.5);
    makeApplications(test::FieldsSince1141);

    EXPECT_EQ(start(), UpgradeOutcome::Restart);  // 1.14.1
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message1141, Restart}));

    EXPECT_EQ(start(), UpgradeOutcome::GoOn);  // 1.15.2, and the start goes on
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message1152}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("IlOsobNaWozku")), (QVariantList{1, 0}));
    try {
        openRegister();
        FAIL() << "the register opened without WskProc";
    } catch (const core::MissingFieldError &e) {
        EXPECT_EQ(e.field(), QStringLiteral("WskProc"));
    }

    EXPECT_EQ(start(), UpgradeOutcome::GoOn);  // 1.16
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message116}));
    EXPECT_NO_THROW(openRegister());
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("WskProc")), (QVariantList{70, 70}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("NrEw")), (QVariantList{1, 2}));
    for (const char *backup : {"Aktualne_1140", "Aktualne_1151", "Aktualne_1153"})
        EXPECT_TRUE(db->tableExists(QString::fromLatin1(backup))) << backup;

    EXPECT_EQ(start(), UpgradeOutcome::GoOn);  // up to date: nothing is said
    EXPECT_TRUE(told.texts(Kind::Inform).isEmpty());
}

TEST_F(StartUp, PartialStepWhenOnlyTheAmountsAreMissing) {
    makeParam({}, 800, 0.7);
    makeApplications(test::FieldsSince1141.mid(1));
    EXPECT_EQ(start(), UpgradeOutcome::Restart);
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message1141, Restart}));
    const data::TableDef def = db->tableDef(Aktualne);
    EXPECT_EQ(def.fields.last().name, QStringLiteral("NajnEmeryt"));
    EXPECT_EQ(def.fields[def.fields.size() - 3].name, QStringLiteral("Calosc_do_rak"));
}

TEST_F(StartUp, UnreadableParametersCountAsZeroAndOtherFailuresArePassedOver) {
    makeApplications(test::FieldsSince1141);  // and no parameter table at all
    EXPECT_EQ(start(), UpgradeOutcome::Restart);
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("KosztKwh")), (QVariantList{0.0, 0.0}));
    EXPECT_TRUE(told.texts(Kind::Error).isEmpty());

    // A missing field the check does not know: nothing is done or said.
    db->createTable(test::without(data::applicationTableDef(QStringLiteral("Aktualne")), {"Data_urodz", "WskProc"}));
    EXPECT_EQ(start(), UpgradeOutcome::GoOn);
    EXPECT_TRUE(told.texts(Kind::Inform).isEmpty());
    EXPECT_FALSE(db->tableExists(QStringLiteral("Aktualne_1153")));

    db->deleteTable(Aktualne);
    EXPECT_EQ(start(), UpgradeOutcome::GoOn);
    EXPECT_TRUE(told.texts(Kind::Inform).isEmpty());
    EXPECT_TRUE(told.texts(Kind::Error).isEmpty());
}

TEST_F(StartUp, AFailedRebuildIsToldAndTheNextStartTriesAgain) {
    makeParam({}, 1000, 0.5);
    makeApplications({"WskProc"});
    FailingProgress failing;
    EXPECT_EQ(start(&failing), UpgradeOutcome::Failed);
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message116}));
    EXPECT_EQ(told.texts(Kind::Error), (QStringList{"disk I/O error"}));
    EXPECT_EQ(db->tableNames(), (QStringList{"Aktualne", "param"}));

    EXPECT_EQ(start(), UpgradeOutcome::GoOn);
    EXPECT_EQ(told.texts(Kind::Inform), (QStringList{Message116}));
    EXPECT_NO_THROW(openRegister());
}
