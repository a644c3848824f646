#include "totals/doc/StatementPrint.h"

#include "print/PageDevice.h"

#include <QFont>

namespace varnel::totals {

void printStatement(print::PageDevice &device, const QString &caption, const TotalsOptions &options,
                    const Statement &statement) {
    device.setJobTitle(caption);
    if (!device.beginJob())
        return;
    const print::PageMargins margins{150, 150, 150, 150};
    const QRect area = device.area(margins);
    int y = area.top();

    QFont title(QStringLiteral("Liberation Sans"), 14);
    title.setBold(true);
    device.setFont(title);
    device.drawText(area.left(), y, caption);
    y += device.textExtent(caption).height() * 2;

    QFont body(QStringLiteral("Liberation Sans"), 10);
    QFont bold = body;
    bold.setBold(true);
    QFont mono(QStringLiteral("Liberation Mono"), 10);
    const auto section = [&](const QString &heading, const QList<std::pair<QString, QString>> &lines, bool amounts) {
        device.setFont(bold);
        device.drawText(area.left(), y, heading);
        y += device.textExtent(heading).height() * 3 / 2;
        int labelWidth = 0;
        device.setFont(body);
        for (const auto &line : lines)
            labelWidth = std::max(labelWidth, device.textExtent(line.first).width());
        const int valueX = area.left() + 40 + labelWidth + 40;
        for (const auto &[label, value] : lines) {
            device.setFont(body);
            device.drawText(area.left() + 40, y, label);
            const int h = device.textExtent(label).height();
            device.setFont(amounts ? mono : body);
            device.drawText(valueX, y, value);
            y += h * 5 / 4;
        }
        y += device.textExtent(heading).height();
    };
    section(QStringLiteral("Składniki zestawienia"), statementOptionLines(options), false);
    section(QStringLiteral("Wyniki"), statementFigureLines(statement, true), true);
    device.drawLine(area.left(), y, area.right(), y);
    device.endJob();
}

}  // namespace varnel::totals
