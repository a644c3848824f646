#include "data/Layouts.h"
#include "data/Table.h"
#include "lists/ListSettings.h"
#include "lists/TemplateEditing.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::lists;

namespace {

const QStringList Faces{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Liberation Serif")};

// The system draws "Arial" with its metric twin; anything else it does not
// know with its default face only.
QString twins(const QString &face) {
    return face == QLatin1String("Arial") ? QStringLiteral("Liberation Sans") : QString();
}

ListFont font(const QString &face, int size, bool bold = false, bool italic = false, bool underline = false) {
    return ListFont{face, size, bold, italic, underline};
}

}  // namespace

TEST(ToolBar, AnOfferedFontLoadsAsItIsWithItsStyles) {
    const ToolBarLoading l = loadToolBar(font(QStringLiteral("liberation serif"), 8, true, false, true), Faces, twins);
    EXPECT_TRUE(l.messages.isEmpty());
    // The face is selected in the list's own spelling.
    EXPECT_EQ(l.state, (ToolBarState{QStringLiteral("Liberation Serif"), 8, true, false, true}));
    EXPECT_EQ(fontOf(l.state), font(QStringLiteral("Liberation Serif"), 8, true, false, true));
}

TEST(ToolBar, ASizeOrFaceNotOfferedIsToldAndReplaced) {
    // 7 points are not offered; a size the descriptor did not give in digits
    // (0) neither.
    for (int size : {7, 0, 100}) {
        const ToolBarLoading l = loadToolBar(font(QStringLiteral("DejaVu Sans"), size), Faces, twins);
        EXPECT_EQ(l.messages, QStringList{QStringLiteral("Nie zdefiniowany rozmiar czcionki!")}) << size;
        EXPECT_EQ(l.state.size, 10);
    }
    const ToolBarLoading l = loadToolBar(font(QStringLiteral("Comic Sans MS"), 7, false, true), Faces, twins);
    EXPECT_EQ(l.messages, (QStringList{QStringLiteral("Nie zdefiniowany rozmiar czcionki!"),
                                       QStringLiteral("Nie zdefiniowana nazwa czcionki!")}));
    EXPECT_EQ(l.state, (ToolBarState{QStringLiteral("DejaVu Sans"), 10, false, true, false}));
    // An empty face is not offered either.
    EXPECT_EQ(loadToolBar(font(QString(), 10), Faces, twins).messages,
              QStringList{QStringLiteral("Nie zdefiniowana nazwa czcionki!")});
}

TEST(ToolBar, AFaceDrawnWithAnInstalledTwinTakesTheTwinWithoutAMessage) {
    const ToolBarLoading l = loadToolBar(font(QStringLiteral("Arial"), 9), Faces, twins);
    EXPECT_TRUE(l.messages.isEmpty());
    EXPECT_EQ(l.state.face, QStringLiteral("Liberation Sans"));
    // A twin that is not offered is no help.
    const ToolBarLoading other = loadToolBar(font(QStringLiteral("Arial"), 9), {QStringLiteral("DejaVu Sans")}, twins);
    EXPECT_EQ(other.messages, QStringList{QStringLiteral("Nie zdefiniowana nazwa czcionki!")});
    EXPECT_EQ(other.state.face, QStringLiteral("DejaVu Sans"));
}

TEST(Columns, NewColumnsAndTheSumMark) {
    ListColumn paid = newColumn(QStringLiteral("Wypłata (całość)"));
    EXPECT_EQ(paid, (ListColumn{QStringLiteral("Wypłata (całość)"), 20, QStringLiteral("-")}));
    EXPECT_EQ(toggleSum(paid), QString());
    EXPECT_EQ(paid.sum, QStringLiteral("+"));
    EXPECT_EQ(toggleSum(paid), QString());
    EXPECT_EQ(paid.sum, QStringLiteral("-"));

    ListColumn name = newColumn(QStringLiteral("Nazwisko"));
    EXPECT_EQ(name.sum, QString());
    EXPECT_EQ(toggleSum(name), QStringLiteral("Nie można sumować wg pola: Nazwisko"));
    EXPECT_EQ(name.sum, QString());
    // The name is compared exactly: another case cannot be totalled.
    ListColumn lower{QStringLiteral("czynsz"), 20, QStringLiteral("-")};
    EXPECT_FALSE(toggleSum(lower).isEmpty());
    EXPECT_EQ(lower.sum, QStringLiteral("-"));
}

TEST(Columns, TypedWidths) {
    int w = 0;
    EXPECT_EQ(parseColumnWidth(QStringLiteral(" 12 "), &w), QString());
    EXPECT_EQ(w, 12);
    EXPECT_EQ(parseColumnWidth(QStringLiteral("999"), &w), QString());
    for (const char *bad : {"0", "-3", "1000", "", "12a", "1.5"}) {
        w = 7;
        EXPECT_FALSE(parseColumnWidth(QString::fromLatin1(bad), &w).isEmpty()) << bad;
        EXPECT_EQ(w, 7) << bad;
    }
}

TEST(ListSettingsRow, TheRowBeingEditedIsReadWithItsChanges) {
    test::TempDatabase db;
    db->createTable(data::listSettingsDef());
    data::Table t(*db, QStringLiteral("skladlist"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Kogo")).setString(QStringLiteral("Wszystkich"));
    t.field(QStringLiteral("Wszyscy")).setBoolean(true);
    t.post();

    t.edit();
    t.field(QStringLiteral("Kogo")).setString(QStringLiteral("Z wyplatą ryczałtu"));
    t.field(QStringLiteral("Wszyscy")).setBoolean(false);
    t.field(QStringLiteral("DlaZarzadcy")).setString(QStringLiteral("ZGM Śródmieście"));
    const ListSettings s = listSettingsOf(t);
    EXPECT_EQ(s.kogo, QStringLiteral("Z wyplatą ryczałtu"));
    EXPECT_FALSE(s.wszyscy);
    EXPECT_EQ(s.dlaZarzadcy, QStringLiteral("ZGM Śródmieście"));
    // What is stored has not changed yet.
    EXPECT_EQ(readListSettings(*db).kogo, QStringLiteral("Wszystkich"));
}
