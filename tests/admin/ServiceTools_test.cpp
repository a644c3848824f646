// The bulk corrections of the service window on the register's view: the
// rounding of areas, one field set in every application, undoing the 90%
// rent, each on the table the register shows and all or nothing.
#include "admin/ServiceTools.h"
#include "core/DbError.h"
#include "data/Table.h"
#include "register/Register.h"
#include "support/OldLayouts.h"
#include "support/Program.h"

#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using test::column;

namespace {

class ServiceTools : public test::ProgramTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::setParameters(*db, {{QStringLiteral("Koszt_kwh"), 0.55}, {QStringLiteral("Min_emeryt"), 1200.0}});
        add(QStringLiteral("Adamczyk"), 45.678, QDate(2002, 1, 1), 90.0, 18.0);
        add(QStringLiteral("Lis"), 45.671, QDate(2001, 12, 31), 90.0, QVariant());
        add(QStringLiteral("Nowak"), 50, QDate(2002, 3, 1), 45.0, QVariant());
        add(QStringLiteral("Wójcik"), QVariant(), QVariant(), 90.0, 9.0);
    }

    void add(const QString &surname, const QVariant &area, const QVariant &from, const QVariant &rent,
             const QVariant &charges, const QString &table = QStringLiteral("Aktualne")) {
        test::addApplication(*db, table, surname,
                             {{QStringLiteral("Pow_uzytk"), area},
                              {QStringLiteral("Okres_od"), from},
                              {QStringLiteral("Wydatki_czynsz"), rent},
                              {QStringLiteral("OplatyDodatkowe"), charges}});
    }

    Table &view() {
        if (!reg.TableWnioski().isOpen())
            EXPECT_TRUE(reg.PokazListeWnioskow());
        return reg.TableWnioski();
    }

    // A failure of the engine when the second record is saved.
    void failOnSecondUpdate(const QString &table) {
        db->exec(QStringLiteral("CREATE TABLE zapisy (n INTEGER)"));
        db->exec(QStringLiteral("CREATE TRIGGER awaria BEFORE UPDATE ON \"%1\" BEGIN "
                                "INSERT INTO zapisy VALUES (1); "
                                "SELECT RAISE(ABORT, 'awaria dysku') WHERE (SELECT count(*) FROM zapisy) >= 2; END")
                     .arg(table));
    }

    reg::Register reg{ctx};
};

}  // namespace

TEST_F(ServiceTools, AreasAreRoundedToHundredthsWithHalvesToEven) {
    EXPECT_EQ(admin::roundedArea(45.678), 45.68);
    EXPECT_EQ(admin::roundedArea(45.671), 45.67);
    EXPECT_EQ(admin::roundedArea(50), 50.0);
    EXPECT_EQ(admin::roundedArea(0.125), 0.12);  // an exact half goes to the even hundredth
    EXPECT_EQ(admin::roundedArea(0.375), 0.38);
    EXPECT_EQ(admin::roundedArea(-12.345678), -12.35);
    EXPECT_EQ(admin::roundedArea(21474836.47), 21474836.47);  // the largest that fits
    EXPECT_FALSE(admin::roundedArea(21474836.48).has_value());
    EXPECT_FALSE(admin::roundedArea(1e300).has_value());
}

TEST_F(ServiceTools, RoundingChangesEveryAreaOfTheViewAndKeepsBlanksAndTheCurrentRow) {
    Table &t = view();
    t.last();
    const QString standing = t.field(QStringLiteral("Nazwisko")).asString();
    EXPECT_EQ(admin::ZaokraglijPowUzytk(t), 3);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk")),
              (QVariantList{45.68, 45.67, 50.0, QVariant()}));
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), standing);
}

TEST_F(ServiceTools, AnAreaThatCannotBeRoundedStopsTheRoundingAndChangesNothing) {
    test::addApplication(*db, QStringLiteral("Aktualne"), QStringLiteral("Zieliński"),
                         {{QStringLiteral("Pow_uzytk"), 5e9}});
    const QVariantList before = column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk"));
    try {
        admin::ZaokraglijPowUzytk(view());
        FAIL() << "the rounding went through";
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Zieliński"))) << e.message().toStdString();
    }
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk")), before);
}

TEST_F(ServiceTools, TheSixKindsSetTheirFieldsWithTheirValues) {
    EXPECT_EQ(admin::fieldSetting(0), nullptr);
    EXPECT_EQ(admin::fieldSetting(7), nullptr);
    const QStringList fields = {QStringLiteral("Ryczalt_do_rak"), QStringLiteral("PowKuchniPonad60"),
                                QStringLiteral("Ryczalt_gaz"),    QStringLiteral("Calosc_do_rak"),
                                QStringLiteral("KosztKwh"),       QStringLiteral("NajnEmeryt")};
    for (int kind = 1; kind <= 6; ++kind) {
        const admin::FieldSetting *s = admin::fieldSetting(kind);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->field, fields[kind - 1]);
        EXPECT_EQ(s->fromParameter(), kind >= 5);
    }
    EXPECT_EQ(admin::fieldSetting(1)->caption, QStringLiteral("Ustaw pole: \"Ryczalt_do_rak\""));
    EXPECT_EQ(admin::fieldSetting(2)->caption, QStringLiteral("Ustaw pole: \"Pow.pokoi i kuchni ponad 60%\""));
    EXPECT_EQ(admin::fieldSetting(6)->caption, QStringLiteral("Ustaw pole: \"Najniższa emerytura\""));
    EXPECT_EQ(admin::fieldSetting(5)->parameter, QStringLiteral("Koszt_kwh"));
    EXPECT_EQ(admin::fieldSetting(6)->parameter, QStringLiteral("Min_emeryt"));
    EXPECT_EQ(admin::fieldSetting(2)->choiceValue(false), QVariant(QStringLiteral("Nie")));
    EXPECT_EQ(admin::fieldSetting(2)->choiceValue(true), QVariant(QStringLiteral("Tak")));
    EXPECT_EQ(admin::fieldSetting(4)->choiceValue(true), QVariant(true));
}

TEST_F(ServiceTools, SettingAFieldWritesTheValueIntoEveryApplication) {
    Table &t = view();
    EXPECT_EQ(admin::UstawPole(t, QStringLiteral("PowKuchniPonad60"), admin::fieldSetting(2)->choiceValue(false)), 4);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("PowKuchniPonad60")),
              QVariantList(4, QStringLiteral("Nie")));
    admin::UstawPole(t, QStringLiteral("Calosc_do_rak"), true);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Calosc_do_rak")), QVariantList(4, true));
    admin::UstawPole(t, QStringLiteral("NajnEmeryt"), 1200.0);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("NajnEmeryt")), QVariantList(4, 1200.0));

    // A field the table lacks, or a value the field cannot hold, changes nothing.
    const QVariantList costs = column(*db, QStringLiteral("Aktualne"), QStringLiteral("KosztKwh"));
    EXPECT_THROW(admin::UstawPole(t, QStringLiteral("Brak"), 1), core::MissingFieldError);
    EXPECT_THROW(admin::UstawPole(t, QStringLiteral("KosztKwh"), QStringLiteral("dużo")), core::DbError);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("KosztKwh")), costs);
}

TEST_F(ServiceTools, UndoingNinetyPercentConvertsThePeriodsFromTheDateOn) {
    EXPECT_EQ(admin::Odkrec90proc(view(), QDate(2002, 1, 1)), 2);
    // Adamczyk starts on the date itself, Nowak after it; Lis before it and
    // Wójcik without a start stay.
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz")),
              (QVariantList{100.0, 90.0, 50.0, 90.0}));
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("OplatyDodatkowe")),
              (QVariantList{20.0, QVariant(), QVariant(), 9.0}));
    EXPECT_THROW(admin::Odkrec90proc(view(), QDate()), core::DbError);
}

TEST_F(ServiceTools, WithAnArchiveShownEveryToolChangesTheArchive) {
    db->createTable(data::applicationTableDef(QStringLiteral("ar041999")));
    add(QStringLiteral("Kowal"), 45.678, QDate(2002, 2, 1), 90.0, 18.0, QStringLiteral("ar041999"));
    ASSERT_TRUE(reg.PokazListeWnioskow());
    reg.ChangeTable(QStringLiteral("ar041999"));
    ASSERT_TRUE(reg.showsArchive());
    QList<QVariantList> before;
    for (const char *f : {"Pow_uzytk", "PowKuchniPonad60", "Wydatki_czynsz", "KosztKwh"})
        before << column(*db, QStringLiteral("Aktualne"), QString::fromUtf8(f));

    Table &t = reg.TableWnioski();
    EXPECT_EQ(admin::ZaokraglijPowUzytk(t), 1);
    EXPECT_EQ(admin::UstawPole(t, QStringLiteral("PowKuchniPonad60"), QStringLiteral("Nie")), 1);
    EXPECT_EQ(admin::UstawPole(t, QStringLiteral("KosztKwh"), 0.55), 1);
    EXPECT_EQ(admin::Odkrec90proc(t, QDate(2002, 1, 1)), 1);

    const QString ar = QStringLiteral("ar041999");
    EXPECT_EQ(column(*db, ar, QStringLiteral("Pow_uzytk")), QVariantList{45.68});
    EXPECT_EQ(column(*db, ar, QStringLiteral("PowKuchniPonad60")), QVariantList{QStringLiteral("Nie")});
    EXPECT_EQ(column(*db, ar, QStringLiteral("KosztKwh")), QVariantList{0.55});
    EXPECT_EQ(column(*db, ar, QStringLiteral("Wydatki_czynsz")), QVariantList{100.0});
    QList<QVariantList> after;
    for (const char *f : {"Pow_uzytk", "PowKuchniPonad60", "Wydatki_czynsz", "KosztKwh"})
        after << column(*db, QStringLiteral("Aktualne"), QString::fromUtf8(f));
    EXPECT_EQ(after, before);
}

TEST_F(ServiceTools, AnEngineFailureMidwayLeavesTheTableAsItWas) {
    failOnSecondUpdate(QStringLiteral("Aktualne"));
    const QVariantList areas = column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk"));
    const QVariantList flags = column(*db, QStringLiteral("Aktualne"), QStringLiteral("Ryczalt_gaz"));
    const QVariantList rents = column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz"));
    EXPECT_THROW(admin::ZaokraglijPowUzytk(view()), core::DbError);
    db->exec(QStringLiteral("DELETE FROM zapisy"));
    EXPECT_THROW(admin::UstawPole(view(), QStringLiteral("Ryczalt_gaz"), true), core::DbError);
    db->exec(QStringLiteral("DELETE FROM zapisy"));
    EXPECT_THROW(admin::Odkrec90proc(view(), QDate(2000, 1, 1)), core::DbError);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk")), areas);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Ryczalt_gaz")), flags);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz")), rents);
    // The view goes on working after the failures.
    EXPECT_EQ(view().recordCount(), 4);
}
