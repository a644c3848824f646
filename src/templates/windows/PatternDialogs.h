#pragma once

#include "data/Table.h"

#include <QDialog>

class QGridLayout;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::ui {
class DataSource;
class DbLineEdit;
class DbMemo;
}  // namespace varnel::ui

namespace varnel::templates {

// The field patterns of "Parametry" › "Wzorce pól": small modal dialogs
// bound straight to the fields of the parameter row (param.db).
//
// Showing one opens the parameter table and puts its first row into
// editing (a table without a row gets one). "OK" posts the row and closes
// the dialog; a value the table refuses (a date it cannot take) is told
// with its message and the dialog stays open to be corrected. "Cofnij", the
// Esc key and, where the dialog has one, the close box drop the change.
// Closing, however it happens, closes the table.
class ParameterRowDialog : public QDialog {
    Q_OBJECT
public:
    QPushButton *ButtonOK = nullptr;
    QPushButton *ButtonCofnij = nullptr;

    void ButtonOKClick();
    void ButtonCofnijClick();

    // The parameter row the dialog edits while it is shown.
    data::Table &param() { return m_param; }

    void done(int result) override;

protected:
    // closeBox: whether the window has a close box.
    ParameterRowDialog(core::Context &ctx, const QString &objectName, const QString &caption, bool closeBox,
                       QWidget *parent);
    // The fields, in a grid above the buttons.
    QGridLayout *fields() const { return m_fields; }
    ui::DataSource *source() const { return m_source; }
    ui::DbLineEdit *addEdit(int row, const QString &label, const QString &name, const QString &field,
                            const QString &caption);
    // Run after the row was posted, before the dialog closes.
    virtual void posted() {}

    void showEvent(QShowEvent *event) override;

    core::Context &m_ctx;

private:
    data::Table m_param;
    ui::DataSource *m_source;
    QGridLayout *m_fields;
};

// "Numer decyzji": the beginning of the decision number of new applications
// (Wzor_NrDec). The pattern stored is also the one the run keeps in memory
// for the decision-number sort key from then on.
class TFormWzorNrDec : public ParameterRowDialog {
    Q_OBJECT
public:
    explicit TFormWzorNrDec(core::Context &ctx, QWidget *parent = nullptr);
    ui::DbLineEdit *DBEWzorDec;

protected:
    void posted() override;
};

// "Termin płatności": the beginning of the payment term of new applications
// (Wzor_PlatneDo).
class TFormWzorTerminPlatn : public ParameterRowDialog {
    Q_OBJECT
public:
    explicit TFormWzorTerminPlatn(core::Context &ctx, QWidget *parent = nullptr);
    ui::DbLineEdit *DBEPlatneDo;
};

// "Okres od-do": the default period of new applications (Wzor_OkresOd,
// Wzor_OkresDo); an empty date means none.
class TFormWzorPlatneOdDo : public ParameterRowDialog {
    Q_OBJECT
public:
    explicit TFormWzorPlatneOdDo(core::Context &ctx, QWidget *parent = nullptr);
    ui::DbLineEdit *DBEOkresOd;
    ui::DbLineEdit *DBEOkresDo;
};

// "Stopka ": the footer printed under decisions and lists (Stopka), any
// number of lines.
class TFormWzorStopki : public ParameterRowDialog {
    Q_OBJECT
public:
    explicit TFormWzorStopki(core::Context &ctx, QWidget *parent = nullptr);
    ui::DbMemo *DBMemo1;
};

}  // namespace varnel::templates
