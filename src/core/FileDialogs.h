#pragma once

#include <QString>

class QWidget;

namespace varnel::core {

// Open and save file dialogs, behind an interface so that tests choose files
// without a screen. Filters are written as the program states them:
// "Wzorzec decyzji (*.fmz)|*.fmz|Dowolny (*.*)|*.*" (description|pattern pairs).
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or an empty text when the user gave up. A `directory`
    // that names a file opens its folder with that file name filled in.
    virtual QString openFile(QWidget *parent, const QString &directory, const QString &filter,
                             const QString &defaultSuffix) = 0;
    virtual QString saveFile(QWidget *parent, const QString &directory, const QString &filter,
                             const QString &defaultSuffix) = 0;
    // A directory chosen (starting in `directory`), or an empty text when
    // the user gave up. Without a dialog of its own, nothing is chosen.
    virtual QString chooseDirectory(QWidget *parent, const QString &directory);
};

// "Opis (*.x)|*.x|Dowolny (*.*)|*.*" -> "Opis (*.x);;Dowolny (*.*)"
QString qtFilter(const QString &filter);

}  // namespace varnel::core
