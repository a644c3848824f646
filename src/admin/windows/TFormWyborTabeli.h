#pragma once

#include "admin/Synchronisation.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace varnel::core {
struct Context;
}

namespace varnel::admin {

// The choice of tables for the synchronisation (modal): the tables of one
// database are listed, those of this program's database directory first;
// "Inna baza..." lists the tables of the database in another directory.
// The database file itself is never shown or opened as a file: the tables
// are read through the engine.
class TFormWyborTabeli : public QDialog {
    Q_OBJECT
public:
    // several: more than one table may be chosen at once.
    TFormWyborTabeli(core::Context &ctx, Databases &databases, const QString &directory, bool several,
                     QWidget *parent = nullptr);

    // The tables chosen ("OK" or a double click), in list order; empty
    // after "Cofnij".
    QVector<TableLocation> chosen() const { return m_chosen; }
    // The directory whose tables are listed.
    QString directory() const { return m_directory; }
    // Lists the tables of the database in a directory; false (told, and the
    // list left as it was) when there is none.
    bool showDirectory(const QString &directory);

    QLineEdit *EditKatalog;
    QPushButton *ButtonKatalog;
    QListWidget *LBoxTabele;
    QPushButton *ButtonOK;
    QPushButton *ButtonCofnij;

    void ButtonKatalogClick();
    void ButtonOKClick();

private:
    core::Context &m_ctx;
    Databases &m_databases;
    QString m_directory;
    QVector<TableLocation> m_chosen;
};

}  // namespace varnel::admin
