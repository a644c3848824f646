#pragma once

#include "calc/Allowance.h"
#include "ui/DataSource.h"

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <functional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QWidget;

namespace varnel::core {
struct Context;
}
namespace varnel::ui {
class DbCheckBox;
class DbComboBox;
class DbLineEdit;
}

namespace varnel::reg {

class Register;

// The application form: one application, the current row of the register's
// view, on four pages; in view, add or update mode. It computes the
// allowance on demand, shows the results, and hands the application over to
// decision printing. Every data control is bound to the row itself: the
// form keeps no copy of it.
class TFormWnioski : public QDialog {
    Q_OBJECT
public:
    enum Mode { View = 1, Add = 2, Update = 3 };

    // parent: the main window, over which the form and, when it is not
    // shown, its file dialog open.
    TFormWnioski(core::Context &context, Register &reg, QWidget *parent = nullptr);

    // Shows the form modally in a mode on the register's current row.
    int ShowModal(int mode);
    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }

    // Decision printing hands the chosen template file on (the decision
    // print window); without it the user is told the function is being
    // prepared.
    std::function<void(const QString &templateFile)> printDecision;
    // F1 on the form opens the help file at the form's topic.
    std::function<void(int topic)> showHelp;
    static constexpr int HelpTopic = 18;

    // Handlers (also run by the main menu's "Drukuj decyzję" without the
    // form being shown).
    void FormShow();
    void ButtonOKClick();
    void ButtonCofnijClick();
    void ButtonPrzeliczClick();
    void ButtonDrukujClick();
    void SMnuWgStarychClick();
    void SMnuWgNowychClick();

    // The calculations, filling the form's result controls.
    void LiczDodatek(bool showResults, QPoint pos, bool showMessages, bool &valid, bool &goOn);
    void LiczDodatekOld(bool showResults, QPoint pos, bool showMessages, bool &valid, bool &goOn);
    // Asks "Kontynuuj"/"Przerwij" at pos; goOn becomes the answer.
    void MessCont(const QString &text, QPoint pos, bool &goOn);

    QTabWidget *PageControl = nullptr;
    QFrame *PanelResults = nullptr;
    QFrame *PanelPosrResults = nullptr;
    QFrame *PanelPosrLokal = nullptr;
    QFrame *PanelPosrDochody = nullptr;
    QLabel *LabelProcentDochodow = nullptr;
    QLabel *LabelNadwyzka = nullptr;
    QLabel *LabelDotBezWar = nullptr;
    QLabel *LabelRyczProc = nullptr;
    QLabel *LabelM07 = nullptr;
    QLabel *LabelC09 = nullptr;
    QLineEdit *EditProcDoch = nullptr;
    QLineEdit *EditWysDod = nullptr;
    QLineEdit *EditDochNaCzlonka = nullptr;
    QLineEdit *EditNadwyzka = nullptr;
    QLineEdit *EditDodBezWar = nullptr;
    ui::DbComboBox *DBCBoxZarzadca = nullptr;
    ui::DbComboBox *DBCBoxTytPrawny = nullptr;
    ui::DbComboBox *DBCBoxStatusLokalu = nullptr;
    QPushButton *ButtonOK = nullptr;
    QPushButton *ButtonCofnij = nullptr;
    QPushButton *ButtonPrzelicz = nullptr;
    QPushButton *ButtonDrukuj = nullptr;
    QMenu *PopupMenuPrzelicz = nullptr;
    QAction *SMnuWgStarych = nullptr;
    QAction *SMnuWgNowych = nullptr;

    // A bound control of the form by its name (DBEditNazwisko, DBEdit3 ...).
    QWidget *control(const QString &name) const;

public slots:
    void reject() override;  // Esc = "Cofnij"
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildPages();
    void buildResults();
    void buildButtons();
    void fillChoiceLists();
    void presetNewRow();
    void focusByPage();
    void setDataPagesEnabled(bool enabled);
    void applyIntermediateSwitch();
    void applyDisplay(const calc::AllowanceDisplay &d);
    void runCalculation(calc::Rules rules);
    bool FormClose();
    void finish(int result);

    core::Context &m_ctx;
    Register &m_reg;
    ui::DataSource m_source;
    int m_mode = View;
    bool m_closing = false;
    QWidget *m_pages[4] = {};
    QPointer<QLineEdit> m_caretTarget;  // the caret goes after its text once the focus arrives
};

}  // namespace varnel::reg
