#pragma once

#include "admin/Rights.h"
#include "core/Context.h"
#include "data/Table.h"
#include "register/ChoiceLists.h"
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

// The register: the list of the applications of the table in view (the
// current applications or one monthly archive), ordered and searched, with
// the buttons to view, update, add and delete an application, and the main
// menu from which every other window is opened. It owns for the whole run
// the view TableWnioski of the application table and the parameter table.
class TFormVarnelMain : public QMainWindow {
    Q_OBJECT
public:
    // Form modes of the application form.
    enum FormMode { ModeView = 1, ModeAdd = 2, ModeUpdate = 3 };

    explicit TFormVarnelMain(core::Context &context, QWidget *parent = nullptr);
    ~TFormVarnelMain() override;

    // Steps of the start the program wires in (tests put their own):
    // the log-in (rights, or nothing when the run must end) and the schema
    // check (false when the run must end for a restart).
    std::function<std::optional<admin::Rights>()> logIn;
    std::function<bool()> schemaCheck;
    // Opens the help file at a topic, or at its keyword search (topic 0).
    std::function<void(int topic)> showHelp;
    // Windows of the register that other parts of the program provide.
    std::function<void(FormMode mode)> showApplicationForm;
    std::function<void()> printDecision;
    // Handlers of menu items by the item's object name; an item without
    // one says that its function is being prepared.
    void setMenuHandler(const QString &item, std::function<void()> handler);

    // The first showing: log-in, rights, schema check, parameters, choice
    // lists, the current register. False when the run must end.
    bool FormShow();

    // Operations other windows call.
    void PokazListeWnioskow();
    void ZmienNaglowekMain();
    void IniAllDictList();
    void ModiSortOrder();
    void SmnuAktualneClick();
    void ChangeTable();

    core::Context &context() { return m_ctx; }
    const admin::Rights &rights() const { return m_rights; }
    data::Table &TableWnioski() { return *m_tableWnioski; }
    data::Table &TableWnioskiND() { return *m_tableWnioskiND; }
    ChoiceLists &choiceLists() { return m_choiceLists; }
    bool wynikiPosrednie() const;
    bool pelnaInformacja() const;
    SortOrder sortOrder() const { return m_order; }
    void setSortOrder(SortOrder order);  // presses a sort button

    QAction *menuItem(const QString &objectName) const;
    QLineEdit *editSeek() const { return m_editSeek; }
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
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption, int helpTopic = 0);
    QMenu *addMenu(QMenu *parent, const QString &name, const QString &caption, int helpTopic);
    void runMenuItem(const QString &name);
    void notReady();
    void EditSeekChange(const QString &text);
    void SButtonClick(SortOrder order);
    void FormResize();
    void readParameters();
    void storePrintSwitch(const char *field, bool on);
    void setRegisterMenuState();
    void Closeall();
    int helpTopicFor(QObject *watched) const;

    core::Context &m_ctx;
    std::unique_ptr<data::Table> m_tableWnioski;
    std::unique_ptr<data::Table> m_tableWnioskiND;
    ChoiceLists m_choiceLists;
    admin::Rights m_rights;
    SortOrder m_order = SortOrder::Nazwiska;
    QString m_seekText;
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
