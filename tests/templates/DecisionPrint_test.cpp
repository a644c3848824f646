// The rules of the decision print window: the copy count and the layout.
#include "templates/DecisionPrint.h"

#include <gtest/gtest.h>

using namespace varnel::templates;

TEST(CopyCount, AnyWholeNumberOfCopiesIsTakenAsTyped) {
    EXPECT_EQ(copiesOf(QStringLiteral("1")), 1);
    EXPECT_EQ(copiesOf(QStringLiteral("9")), 9);
    // Beyond the spin buttons' range, as typed.
    EXPECT_EQ(copiesOf(QStringLiteral("12")), 12);
    EXPECT_EQ(copiesOf(QStringLiteral(" 3 ")), 3);
    EXPECT_EQ(copiesOf(QStringLiteral("+2")), 2);
    EXPECT_EQ(copiesOf(QStringLiteral("007")), 7);
}

TEST(CopyCount, TextThatIsNoNumberOfCopiesIsRefused) {
    for (const char *typed : {"", " ", "abc", "1.5", "2,0", "3a", "1 2", "0x3", "99999999999"})
        EXPECT_FALSE(copiesOf(QString::fromLatin1(typed))) << typed;
    // No copy at all cannot be printed, nor fewer.
    EXPECT_FALSE(copiesOf(QStringLiteral("0")));
    EXPECT_FALSE(copiesOf(QStringLiteral("-2")));
    EXPECT_EQ(CopiesErrorText, QStringLiteral("Błędna wartość w polu: Liczba kopii"));
}

TEST(PrtDecLayout, TheEditorFollowsTheWindowAndTheRowsStayAtTheBottom) {
    const PrtDecLayout l = prtDecLayout(QSize(800, 600));
    EXPECT_EQ(l.panel, QRect(0, 0, 800, 570));
    EXPECT_EQ(l.editor, QRect(0, 0, 800, 540));
    EXPECT_EQ(l.copiesRow, QRect(0, 540, 800, 30));
    EXPECT_EQ(l.buttonRow, QRect(0, 570, 800, 30));

    // A window smaller than the two rows gives no negative sizes.
    const PrtDecLayout tiny = prtDecLayout(QSize(100, 40));
    EXPECT_EQ(tiny.panel.height(), 10);
    EXPECT_EQ(tiny.editor.height(), 0);
    EXPECT_EQ(tiny.copiesRow, QRect(0, 0, 100, 10));
    EXPECT_EQ(tiny.buttonRow, QRect(0, 10, 100, 30));
    const PrtDecLayout none = prtDecLayout(QSize(0, 0));
    for (const QRect &r : {none.panel, none.editor, none.copiesRow, none.buttonRow}) {
        EXPECT_GE(r.width(), 0);
        EXPECT_GE(r.height(), 0);
    }
}
