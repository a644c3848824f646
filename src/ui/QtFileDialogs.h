#pragma once

#include "core/FileDialogs.h"

namespace varnel::ui {

// The real file dialogs of the program: Qt's own dialog (never the
// desktop's), with icons by file name only and without the database folder,
// so that no dialog of the program opens a file of the database.
class QtFileDialogs : public core::FileDialogs {
public:
    QString openFile(QWidget *parent, const QString &directory, const QString &filter,
                     const QString &defaultSuffix) override;
    QString saveFile(QWidget *parent, const QString &directory, const QString &filter,
                     const QString &defaultSuffix) override;
    QString chooseDirectory(QWidget *parent, const QString &directory) override;
};

}  // namespace varnel::ui
