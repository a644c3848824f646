#pragma once

#include "core/FileDialogs.h"

namespace varnel::ui {

// The real file dialogs of the program.
class QtFileDialogs : public core::FileDialogs {
public:
    QString openFile(QWidget *parent, const QString &directory, const QString &filter,
                     const QString &defaultSuffix) override;
    QString saveFile(QWidget *parent, const QString &directory, const QString &filter,
                     const QString &defaultSuffix) override;
};

}  // namespace varnel::ui
