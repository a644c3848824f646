#pragma once

#include "admin/Dictionaries.h"
#include "data/Table.h"
#include "ui/TableModel.h"

#include <QDialog>
#include <QWidget>
#include <functional>

class QPushButton;
class QVBoxLayout;
class QKeyEvent;

namespace varnel::core {
struct Context;
}
namespace varnel::ui {
class DataGrid;
class DataSource;
class DbLineEdit;
}  // namespace varnel::ui

namespace varnel::admin {

// The entry dialog of a dictionary list window (TFormNewZarz, TFormNewDict):
// modal, blank caption, bound to the current row of the list's table, which
// the list window has put into insert or edit mode before showing it.
class TFormNewEntry : public QDialog {
    Q_OBJECT
public:
    TFormNewEntry(DictionaryRules &rules, data::Table &table, core::Context &ctx, QWidget *parent);

    ui::DbLineEdit *DBEdit;
    QPushButton *ButtonOK;
    QPushButton *ButtonCofnij;

    // "Cofnij", Esc and the window's own close button drop the change.
    void reject() override;

protected:
    void showEvent(QShowEvent *e) override;
    ui::DataSource *dataSource() const { return m_source; }
    QVBoxLayout *fieldsLayout() const { return m_fields; }

private:
    void ButtonOKClick();

    DictionaryRules &m_rules;
    core::Context &m_ctx;
    ui::DataSource *m_source;
    QVBoxLayout *m_fields;
};

// What the two dictionary list windows (TFormSlownZarz, TFormSlowniki) share:
// a grid over the window's own view of a dictionary table, "Dodaj",
// "Popraw", "Usuń", "Zakończ", and the keys Enter, Esc, Insert, Delete seen
// before the controls. The window is shown without waiting; closing it
// closes its table and calls the closed callback, with which the main window
// refills its choice lists.
class TFormSlownikBase : public QWidget {
    Q_OBJECT
public:
    using Closed = std::function<void()>;

    data::Table &table() { return m_table; }
    // The table the window shows while open ("" while closed).
    QString openTable() const { return m_table.isOpen() ? m_table.tableName() : QString(); }

    ui::DataGrid *DBGridDict;
    QPushButton *ButtonDodaj;
    QPushButton *ButtonPopraw;
    QPushButton *ButtonUsun;
    QPushButton *ButtonZakoncz;

    void ButtonDodajClick();
    void ButtonPoprawClick();
    void ButtonUsunClick();

    // F1 in the window asks for the help topic of the dictionaries (27).
    std::function<void(int topic)> showHelp;

protected:
    TFormSlownikBase(core::Context &ctx, DictionaryRules::Kind kind, const QVector<ui::GridColumn> &columns,
                     Closed onClosed, QWidget *parent);

    // Opens the window on a dictionary table with a caption; a window open on
    // another table is closed first (with everything closing does), one open
    // on the same table comes to the front.
    void openOn(const QString &tableName, const QString &caption);
    void setEntryDialog(TFormNewEntry *dialog) { m_entry = dialog; }
    DictionaryRules &rules() { return m_rules; }
    core::Context &context() { return m_ctx; }

    void closeEvent(QCloseEvent *e) override;

private:
    bool FormKeyDown(QKeyEvent *e);
    void runEntryDialog();

    core::Context &m_ctx;
    data::Table m_table;
    DictionaryRules m_rules;
    Closed m_onClosed;
    TFormNewEntry *m_entry = nullptr;
};

}  // namespace varnel::admin
