#include "ui/PrinterSetup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <gtest/gtest.h>

using namespace varnel;

TEST(PrinterSetup, APrinterMadeFromTheRunsSettingsStandsAtThemAndNothingChosenKeepsTheDefaults) {
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setPageSize(QPageSize(QPageSize::A5));
    chosen.setPageOrientation(QPageLayout::Landscape);
    chosen.setCopyCount(3);
    const core::PrinterSettings settings = ui::printerSettingsOf(chosen);
    EXPECT_TRUE(settings.chosen);

    QPrinter next(QPrinter::HighResolution);
    const QString defaultName = next.printerName();
    ui::applyPrinterSettings(settings, next);
    EXPECT_EQ(next.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(next.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(next.copyCount(), 3);
    EXPECT_EQ(next.printerName(), defaultName);

    QPrinter untouched(QPrinter::HighResolution);
    const QPageSize::PageSizeId size = untouched.pageLayout().pageSize().id();
    ui::applyPrinterSettings(core::PrinterSettings{}, untouched);
    EXPECT_EQ(untouched.pageLayout().pageSize().id(), size);
    EXPECT_EQ(untouched.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(untouched.copyCount(), 1);
}
