#include "ui/QtFileDialogs.h"

#include "data/Database.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QTemporaryDir>

namespace varnel::ui {

namespace {

// Icons and type names from the file name alone. Qt's own providers find a
// file's type from its contents, which opens the file; on Linux the close of
// any descriptor of the database file drops every lock the program holds on
// it, and the next program to open the database may then corrupt it. This
// provider never opens a file.
class NameOnlyIcons : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo &info) const override {
        return QFileIconProvider::icon(info.isDir() ? QFileIconProvider::Folder : QFileIconProvider::File);
    }
    QString type(const QFileInfo &info) const override {
        if (info.isDir())
            return QStringLiteral("Katalog");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Plik") : QStringLiteral("Plik %1").arg(suffix.toUpper());
    }
};

// Hides the database folder (and anything in it) from every view of the dialog.
class WithoutDatabase : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!files)
            return true;
        return !data::Database::isDatabasePath(files->filePath(files->index(row, 0, parent)));
    }
};

bool isDatabaseFile(const QString &path) {
    if (data::Database::isDatabasePath(path))
        return true;
    const QString real = QFileInfo(path).canonicalFilePath();  // a link into the folder
    return !real.isEmpty() && data::Database::isDatabasePath(real);
}

// Qt's own dialog, never the desktop's (which finds icons and previews by
// reading the files), refusing a file of the database typed by name.
class Dialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        for (const QString &f : selectedFiles())
            if (isDatabaseFile(f))
                return;  // stays open, as for a name that cannot be used
        QFileDialog::accept();
    }
};

QString run(QWidget *parent, const QString &directory, const QString &filter, const QString &suffix,
            QFileDialog::AcceptMode mode, bool directories = false) {
    static NameOnlyIcons icons;
    // The dialog lists its first directory as soon as it is made, before the
    // icons can be set: it is made on an empty one.
    QTemporaryDir empty;
    Dialog dialog(parent, QString(), empty.isValid() ? empty.path() : QDir::rootPath(), core::qtFilter(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    dialog.setProxyModel(new WithoutDatabase(&dialog));
    dialog.setAcceptMode(mode);
    if (directories) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    dialog.setDefaultSuffix(suffix);
    dialog.setDirectory(directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtFileDialogs::chooseDirectory(QWidget *parent, const QString &directory) {
    return run(parent, directory, QString(), QString(), QFileDialog::AcceptOpen, true);
}

QString QtFileDialogs::openFile(QWidget *parent, const QString &directory, const QString &filter,
                                const QString &defaultSuffix) {
    return run(parent, directory, filter, defaultSuffix, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::saveFile(QWidget *parent, const QString &directory, const QString &filter,
                                const QString &defaultSuffix) {
    return run(parent, directory, filter, defaultSuffix, QFileDialog::AcceptSave);
}

}  // namespace varnel::ui
