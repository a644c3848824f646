#pragma once

#include "admin/Dictionaries.h"
#include "admin/Rights.h"
#include "core/Context.h"
#include "register/RegisterRules.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;

namespace varnel::ui {
class DataGrid;
}

namespace varnel::reg {

class Register;

// The main window: it shows the register (the list of the applications of
// the table in view, ordered and searched) with the buttons to view,
// update, add and delete an application, and holds the main menu from
// which every other window is opened. The register itself (its view, the
// current table name, the table switch, the choice lists, the display
// switches) is the Register the window receives; the grid, the caption and
// the menu states follow it.
class TFormVarnelMain : public QMainWindow {
    Q_OBJECT
public:
    // Form modes of the application form.
    enum FormMode { ModeView = 1, ModeAdd = 2, ModeUpdate = 3 };

    TFormVarnelMain(core::Context &context, Register &reg, QWidget *parent = nullptr);
    ~TFormVarnelMain() override;

    // Steps of the start the program wires in (tests put their own):
    // the log-in (rights, or nothing when the run must end) and the schema
    // check (false when the run must end for a restart). Without a log-in
    // step nobody is logged in and no right is given.
    std::function<std::optional<admin::Rights>()> logIn;
    std::function<bool()> schemaCheck;
    // Opens the help file at a topic, or at its keyword search (topic 0).
    std::function<void(int topic)> showHelp;
    // Windows of the register that other parts of the program provide.
    std::function<void(FormMode mode)> showApplicationForm;
    std::function<void()> printDecision;
    // "Parametry" › "Słowniki": the window of a value list (its item in
    // admin::valueDictionaries(), each item on its own list).
    std::function<void(const admin::ValueDictionary &list)> showValueDictionary;
    // Handlers of menu items by the item's object name; an item without
    // one says that its function is being prepared.
    void setMenuHandler(const QString &item, std::function<void()> handler);

    // The first showing: log-in, rights, schema check, parameters, choice
    // lists, the current register. False when the run must end.
    bool FormShow();

    // Operations of the window.
    void ZmienNaglowekMain();
    void SmnuAktualneClick();

    core::Context &context() { return m_ctx; }
    Register &reg() { return m_reg; }
    const admin::Rights &rights() const { return m_rights; }
    SortOrder sortOrder() const;
    void setSortOrder(SortOrder order);  // presses a sort button

    QAction *menuItem(const QString &objectName) const;
    QLineEdit *editSeek() const { return m_editSeek; }
    QToolButton *sortButton(SortOrder order) const;
    ui::DataGrid *grid() const { return m_grid; }
    QVector<int> columnChars() const;

    // Buttons of the register.
    void ButtonPokazWniosekClick();
    void ButtonAktualizujWniosekClick();
    void ButtonDodajWniosekClick();
    void ButtonUsunWniosekClick();
    void SMnuKoniecClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildList();
    void followRegister();
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption, int helpTopic = 0);
    QMenu *addMenu(QMenu *parent, const QString &name, const QString &caption, int helpTopic);
    void runMenuItem(const QString &name);
    void notReady();
    void SButtonClick(SortOrder order);
    void showSortOrder(SortOrder order, const QString &searchText);
    void FormResize();
    void setRegisterMenuState();
    void Closeall();
    int helpTopicFor(QObject *watched) const;

    core::Context &m_ctx;
    Register &m_reg;
    admin::Rights m_rights;
    bool m_shown = false;

    QWidget *m_panelList = nullptr;
    QWidget *m_panelSort = nullptr;
    ui::DataGrid *m_grid = nullptr;
    QLineEdit *m_editSeek = nullptr;
    QButtonGroup *m_sortButtons = nullptr;
    std::map<SortOrder, QToolButton *> m_sortButton;
    QPushButton *m_buttonPokaz = nullptr;
    QPushButton *m_buttonAktualizuj = nullptr;
    QPushButton *m_buttonDodaj = nullptr;
    QPushButton *m_buttonUsun = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QMenu *m_menuSlowniki = nullptr;
    QMenu *m_menuKwoty = nullptr;
    std::map<QString, QAction *> m_items;
    std::map<QString, std::function<void()>> m_handlers;
};

}  // namespace varnel::reg
