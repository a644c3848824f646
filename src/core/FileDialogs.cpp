#include "core/FileDialogs.h"

#include <QStringList>

namespace varnel::core {

QString FileDialogs::chooseDirectory(QWidget *, const QString &) { return QString(); }

QString qtFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + pattern + QLatin1Char(')');
        out << description;
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace varnel::core
