#pragma once

#include "archive/MonthClose.h"
#include "data/Table.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
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

// The archive window over the archive list, in one of two modes set before
// it is shown:
//  - month close ("Przenoszenie do archiwum", "Wnioski" › "Przepisz do
//    archiwum"): "Zapisać jako:" a month and a year, proposed once per run
//    as the month before the day the run started; "OK" copies the current
//    applications into the month's archive and enters it in the list;
//  - open ("Archiwum", "Wnioski" › "Otwórz archiwum"): "Otworzyć
//    archiwum?"; "OK" points the register at the archive of the selected
//    row (upgrading an archive of an older layout).
// A click on a row of the list selects its month and year in both modes.
// The window is made once and shown modally each time.
class TFormArchiwum : public QDialog {
    Q_OBJECT
public:
    enum class Mode { MonthClose, Open };

    // today: the day the run started, from which the month is proposed.
    TFormArchiwum(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr,
                  const QDate &today = QDate::currentDate());
    ~TFormArchiwum() override;

    void setMode(Mode mode) { m_mode = mode; }
    Mode mode() const { return m_mode; }
    int ShowModal(Mode mode);

    // The main menu's handlers. "Przepisz do archiwum": with an archive in
    // view, first back to the current applications (backToCurrent, the
    // main window's "Bieżące"); then the question, and on Tak the window in
    // month-close mode. "Otwórz archiwum": the window in open mode.
    void SMnuZamknijMiesClick();
    void SMnuArchiwumClick();
    std::function<void()> backToCurrent;
    // Opens the help file at a topic (F1).
    std::function<void(int topic)> showHelp;

    // Handlers.
    void FormShow();
    void DBGridArchCellClick();
    void ButtonDataOKClick();
    void ButtonDataEscClick();
    void ButtonLoadOKClick();
    void ButtonLoadEscClick();

    const MonthProposal &proposal() const { return m_proposal; }
    data::Table &archiveList() { return m_list; }

    ui::DataGrid *DBGridArch;
    QWidget *PanelKalend;
    QLabel *LabelKalend;
    QComboBox *CBoxMies;
    QComboBox *CBoxRok;
    QPushButton *ButtonDataOK;
    QPushButton *ButtonDataEsc;
    QProgressBar *ProgressBar;
    QWidget *PanelButtons;
    QLabel *LabelButtons;
    QPushButton *ButtonLoadOK;
    QPushButton *ButtonLoadEsc;

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormClose();
    int helpTopic() const;
    void closeAndRefresh();

    core::Context &m_ctx;
    reg::Register &m_reg;
    data::Table m_list;
    MonthProposal m_proposal;
    Mode m_mode = Mode::MonthClose;
};

}  // namespace varnel::archive
