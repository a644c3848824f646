#pragma once

#include "archive/ExpiredList.h"
#include "data/Table.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedLayout;
class QWidget;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}
namespace varnel::ui {
class DataGrid;
}

namespace varnel::archive {

// "Lista nieaktualnych wniosków" ("Wnioski" › "Usuń nieaktualne", with the
// current applications in view): the start panel chooses which
// applications to mark, "OK" lists them in the work table Temp; the list
// panel shows them (name order), "Pokaż" shows one in the application form,
// "Wycofaj z listy" takes one off the list, "Usuń znalezione" deletes all
// listed applications from the register at once. Closing the window puts
// the register back in name order. The filter choice is kept for the run;
// the window is made once and shown modally each time.
class TFormCtrlAct : public QDialog {
    Q_OBJECT
public:
    TFormCtrlAct(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);
    ~TFormCtrlAct() override;

    int ShowModal();

    // Shows the application form in view mode on the register's current
    // row, as the main window's "Pokaż" does.
    std::function<void()> showApplication;
    // Opens the help file at a topic (F1).
    std::function<void(int topic)> showHelp;

    ExpiryFilter filter() const;
    void setFilter(ExpiryFilter filter);

    // Handlers.
    void FormShow();
    void ButtonLoadOKClick();
    void ButtonLoadEscClick();
    void ButtonPokazClick();
    void ButtonCofnijZListyClick();
    void ButtonDelAllClick();
    void ButtonEscClick();

    data::Table &list() { return m_list; }
    bool showsList() const;

    QWidget *PanelIni;
    QGroupBox *RGroupFiltr;
    QRadioButton *RButtonWszystkie;
    QRadioButton *RButtonNieaktualne;
    QPushButton *ButtonLoadOK;
    QPushButton *ButtonLoadEsc;
    QProgressBar *ProgressBar;
    QWidget *PanelLista;
    ui::DataGrid *DBGridList;
    QPushButton *ButtonPokaz;
    QPushButton *ButtonCofnijZListy;
    QPushButton *ButtonDelAll;
    QPushButton *ButtonEsc;
    QProgressBar *ProgressBarDel;

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormClose();

    core::Context &m_ctx;
    reg::Register &m_reg;
    data::Table m_list;
    QButtonGroup *m_filter;
    QStackedLayout *m_panels;
};

}  // namespace varnel::archive
