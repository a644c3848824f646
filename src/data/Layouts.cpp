#include "data/Layouts.h"

namespace varnel::data {

namespace {

FieldDef text(const char *name, int size, bool required = false) {
    return FieldDef{QString::fromUtf8(name), FieldType::Text, size, required};
}
FieldDef typed(const char *name, FieldType t) { return FieldDef{QString::fromUtf8(name), t, 0, false}; }
FieldDef autoinc(const char *name) { return typed(name, FieldType::AutoInc); }
FieldDef currency(const char *name) { return typed(name, FieldType::Currency); }
FieldDef flt(const char *name) { return typed(name, FieldType::Float); }
FieldDef date(const char *name) { return typed(name, FieldType::Date); }
FieldDef boolean(const char *name) { return typed(name, FieldType::Boolean); }
FieldDef smallint(const char *name) { return typed(name, FieldType::SmallInt); }
FieldDef integer(const char *name) { return typed(name, FieldType::Integer); }
FieldDef memo(const char *name) { return typed(name, FieldType::Memo); }

IndexDef primary(const QStringList &fields) { return IndexDef{QString(), fields, IndexPrimary | IndexUnique}; }
IndexDef secondary(const char *name, const QStringList &fields) {
    return IndexDef{QString::fromUtf8(name), fields, IndexCaseInsensitive};
}

}  // namespace

TableDef applicationTableDef(const QString &name) {
    TableDef t;
    t.name = name;
    t.fields = {
        autoinc("NrEw"),
        text("Numer_decyzji", 20),
        text("Nazwisko", 28, true),
        text("Imie", 24, true),
        text("Adres_miejsc", 40),
        text("Adres_ulica", 28),
        text("Adres_nr", 10),
        currency("Wyplata_calosc"),
        currency("Wyplata_ryczalt"),
        currency("Wyplata_zarzadca"),
        date("Data_urodz"),
        currency("Dochod_razem"),
        smallint("Liczba_osob"),
        text("Tytul_prawny", 28),
        text("Spos_ogrz_wody", 28),
        text("Spos_ogrz_lok", 28),
        currency("Wydatki_razem"),
        flt("Pow_uzytk"),
        flt("Pow_normatywna"),
        text("Ureg_stan_prawny", 3),
        text("Status_lokalu", 28),
        text("Budowa_po_45r", 3),
        text("Osoba_na_wozku", 3),
        date("Data_zlozenia"),
        date("Okres_od"),
        date("Okres_do"),
        text("Termin_platnosci", 30),
        text("Zarzadca", 50),
        boolean("Ryczalt_CO"),
        boolean("Ryczalt_woda"),
        currency("Wydatki_czynsz"),
        currency("RyczaltMax"),
        boolean("ObliczeniaOK"),
        flt("Ryczalt_procent"),
        currency("Wydatki_wg_pow"),
        currency("Dodatek_wylicz"),
        boolean("Ryczalt_do_rak"),
        currency("OplatyDodatkowe"),
        text("IndexNrSupport", 20),
        text("PowKuchniPonad60", 3),
        boolean("Ryczalt_gaz"),
        currency("Wydatki_razem90"),
        boolean("Calosc_do_rak"),
        flt("KosztKwh"),
        currency("NajnEmeryt"),
        smallint("IlOsobNaWozku"),
        smallint("WskProc"),
    };
    t.indexes = {
        primary({QStringLiteral("NrEw")}),
        secondary("NazwNdx", {QStringLiteral("Nazwisko"), QStringLiteral("Imie")}),
        secondary("AdresNdx", {QStringLiteral("Adres_miejsc"), QStringLiteral("Adres_ulica"), QStringLiteral("Adres_nr")}),
        IndexDef{QStringLiteral("WyplataNdx"), {QStringLiteral("Wyplata_calosc")}, 0},
        secondary("NrDecNdx", {QStringLiteral("IndexNrSupport")}),
    };
    return t;
}

QStringList applicationFieldNames() {
    QStringList names;
    for (const auto &f : applicationTableDef().fields)
        names << f.name;
    return names;
}

TableDef paramTableDef() {
    TableDef t;
    t.name = QStringLiteral("param");
    t.fields = {
        autoinc("Auto"),
        currency("Min_emeryt"),
        flt("Koszt_kwh"),
        text("Wzor_NrDec", 30),
        text("Wzor_PlatneDo", 30),
        date("Wzor_OkresOd"),
        date("Wzor_OkresDo"),
        integer("AlgorytmSortowania"),
        boolean("DrukujMetryczke"),
        boolean("DrukujStopke"),
        memo("Stopka"),
        text("MetrFontName", 25),
        smallint("MetrFontHeight"),
        text("StopkaFontName", 25),
        smallint("StopkaFontHeight"),
        smallint("WskaznikProc"),
    };
    t.indexes = {primary({QStringLiteral("Auto")})};
    return t;
}

TableDef managerDictionaryDef() {
    TableDef t;
    t.name = QStringLiteral("zarzadcy");
    t.fields = {autoinc("Auto"), text("Opis", 50), boolean("BylModi"), boolean("Wlasn_gminy")};
    t.indexes = {primary({QStringLiteral("Auto")}), secondary("OpisNdx", {QStringLiteral("Opis")})};
    return t;
}

TableDef valueDictionaryDef(const QString &name) {
    TableDef t;
    t.name = name;
    t.fields = {autoinc("Auto"), text("Opis", 50), boolean("BylModi")};
    t.indexes = {primary({QStringLiteral("Auto")})};
    return t;
}

TableDef usersTableDef() {
    TableDef t;
    t.name = QStringLiteral("uspass");
    t.fields = {text("User", 30), text("Pass", 30), boolean("ModiUsers"), boolean("ModiDict")};
    return t;
}

TableDef archiveListDef() {
    TableDef t;
    t.name = QStringLiteral("ArcLista");
    t.fields = {date("Data_Key"), text("FileName", 255), text("Data_str", 20), flt("NajnEmer"), flt("KosztKwh")};
    t.indexes = {primary({QStringLiteral("Data_Key")})};
    return t;
}

TableDef listTemplateDef() {
    TableDef t;
    t.name = QStringLiteral("WzorList");
    t.fields = {smallint("NrPola"), text("Nazwa", 30), smallint("Dlugosc"), text("Suma", 1), flt("ValSuma")};
    return t;
}

TableDef listSettingsDef() {
    TableDef t;
    t.name = QStringLiteral("skladlist");
    t.fields = {
        text("Kogo", 30),         text("Sort", 30),      boolean("WygladRamki"),
        boolean("WygladNrStrony"), boolean("PodkrWiersz"), boolean("Wszyscy"),
        text("DlaZarzadcy", 50),  boolean("CtrlOkres"),  date("DataPrzyslOd"),
        date("DataPrzyslDo"),
    };
    return t;
}

TableDef totalsSettingsDef() {
    TableDef t;
    t.name = QStringLiteral("skladlic");
    t.fields = {
        text("Kogo", 30),          boolean("CtrlOkres"),   date("DataPrzyslOd"),
        date("DataPrzyslDo"),      boolean("Wszyscy"),     text("DlaZarzadcy", 50),
        boolean("LiczDotacje"),    text("Wzor", 40),
    };
    return t;
}

QStringList applicationFieldsAddedByUpgrades() {
    return {QStringLiteral("Calosc_do_rak"), QStringLiteral("KosztKwh"), QStringLiteral("NajnEmeryt"),
            QStringLiteral("IlOsobNaWozku"), QStringLiteral("WskProc")};
}

QStringList paramFieldsAddedByUpgrades() { return {QStringLiteral("WskaznikProc")}; }

QVector<TableDef> deliveredTables() {
    return {
        applicationTableDef(),
        paramTableDef(),
        managerDictionaryDef(),
        valueDictionaryDef(QStringLiteral("tytprawn")),
        valueDictionaryDef(QStringLiteral("ogrzlok")),
        valueDictionaryDef(QStringLiteral("ogrzwody")),
        valueDictionaryDef(QStringLiteral("statlok")),
        usersTableDef(),
        archiveListDef(),
        listTemplateDef(),
        listSettingsDef(),
        totalsSettingsDef(),
    };
}

}  // namespace varnel::data
