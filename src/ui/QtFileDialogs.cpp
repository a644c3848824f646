#include "ui/QtFileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace varnel::ui {

namespace {

QString run(QWidget *parent, const QString &directory, const QString &filter, const QString &suffix,
            QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), directory, core::qtFilter(filter));
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
