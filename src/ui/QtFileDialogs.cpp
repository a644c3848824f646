#include "ui/QtFileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace varnel::ui {

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

namespace {

QString run(QWidget *parent, const QString &directory, const QString &filter, const QString &suffix,
            QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), directory, qtFilter(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtFileDialogs::openFile(QWidget *parent, const QString &directory, const QString &filter,
                                const QString &defaultSuffix) {
    return run(parent, directory, filter, defaultSuffix, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::saveFile(QWidget *parent, const QString &directory, const QString &filter,
                                const QString &defaultSuffix) {
    return run(parent, directory, filter, defaultSuffix, QFileDialog::AcceptSave);
}

}  // namespace varnel::ui
