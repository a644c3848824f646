#include "ui/Translations.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

// The window tests' application loads Qt's Polish texts at start, as the
// program does: the standard dialogs and menus of Qt speak Polish.

TEST(QtTexts, StandardDialogsAndContextMenusArePolish) {
    ASSERT_FALSE(QCoreApplication::translate("QFileDialog", "Look in:").isEmpty());
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Szukaj w:"));

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            items << QString(a->text()).remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(items.contains(QStringLiteral("Wklej"))) << items.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(items.contains(QStringLiteral("Paste")));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    auto *buttons = files.findChild<QDialogButtonBox *>();
    ASSERT_TRUE(buttons);
    QStringList captions;
    for (QAbstractButton *b : buttons->buttons())
        captions << QString(b->text()).remove(QLatin1Char('&'));
    EXPECT_TRUE(captions.contains(QStringLiteral("Anuluj"))) << captions.join(QLatin1Char('|')).toStdString();
}

TEST(QtTexts, LoadingTheTranslationsAgainIsHarmless) {
    EXPECT_TRUE(varnel::ui::installPolishTranslations());
}
