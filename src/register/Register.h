#pragma once

#include "core/Progress.h"
#include "register/ChoiceLists.h"
#include "register/RegisterRules.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace varnel::core {
struct Context;
}
namespace varnel::data {
class Table;
}

namespace varnel::reg {

// The name of the current applications' table.
inline const QString CurrentApplications = QStringLiteral("Aktualne");

// What a rebuild of an archive of an older layout writes into it: the lowest
// pension and the kWh cost of its month (NajnEmer and KosztKwh of its row in
// ArcLista).
struct ArchiveParameters {
    double najnEmer = 0;
    double kosztKwh = 0;
};

// How a table switch ended.
enum class SwitchOutcome {
    Opened,   // the view is open on the new table
    Closed,   // the view is closed (it was closed before, or the table cannot be opened)
    Restart,  // an archive was rebuilt in a way that needs a new start; the run must end
};

// The register: the application table in use and everything the windows
// share about it, for the whole run. It holds the view TableWnioski (the
// application record with the calculated fields NazwIm and Adres), the
// current table name ("Aktualne" or an archive arMMYYYY, kept here only),
// the sort order with the incremental search, the choice lists of the
// dictionaries and the two display switches of the main menu. The main
// window shows it and follows its signals; the application form, the
// printing, archive, totals and service windows receive it and work on the
// current row of its view.
//
// Operations that the user starts (ChangeTable, PokazListeWnioskow,
// IniAllDictList) tell their failures through the run's Questions; the
// others throw core::DbError for their caller to show.
class Register : public QObject {
    Q_OBJECT
public:
    explicit Register(core::Context &ctx, QObject *parent = nullptr);
    ~Register() override;

    core::Context &context() const { return m_ctx; }
    data::Table &TableWnioski() const { return *m_view; }
    ChoiceLists &choiceLists() { return m_choiceLists; }

    // The table in view.
    QString currentTableName() const { return m_tableName; }
    bool showsArchive() const;

    // The table switch: the view is closed and set to `tableName`; the
    // choice lists are refilled (for an archive its month is looked up in
    // ArcLista: "Brak w archiwum: " + name when it is not there); when the
    // view was open it is opened again. An archive of an older layout is
    // rebuilt first, with a message before: a missing Calosc_do_rak or
    // KosztKwh by step 1.14.1, after which the run must end ("Aby zakończyć
    // aktualizację archiwum trzeba ponownie uruchomić program!",
    // restartRequired), a missing IlOsobNaWozku by step 1.15.2 and a missing
    // WskProc by step 1.16; the archive is then opened in the same run.
    // `parameters` are those of the archive's row in ArcLista; without them
    // the row of the archive's month gives them.
    SwitchOutcome ChangeTable(const QString &tableName,
                              std::optional<ArchiveParameters> parameters = std::nullopt);

    // Opens the view afresh on the current table name and applies the sort
    // order. False when it could not be opened (told).
    bool PokazListeWnioskow();
    // Refills the choice lists from the dictionaries (and, for an archive,
    // checks its month in ArcLista).
    void IniAllDictList();

    // The sort order of the list: selects the order's index on the open
    // view and tells the search text it starts with (sortOrderApplied).
    SortOrder sortOrder() const { return m_order; }
    void setSortOrder(SortOrder order);
    void ModiSortOrder();
    // The view was put on its primary index by a walk over it (the rebuild
    // of the decision-number keys): the order becomes SortOrder::Primary,
    // which no sort button names, and the search takes registry numbers.
    void primaryIndexInForce();
    // Incremental search: moves to the first row whose key is equal to or
    // greater than the key the text makes for the order. A text the order
    // cannot search for (a letter on the primary index) moves nothing.
    void seek(const QString &text);
    QString searchText() const { return m_searchText; }

    // The display switches of the main menu, on at every start, not stored.
    bool wynikiPosrednie() const { return m_wynikiPosrednie; }
    bool pelnaInformacja() const { return m_pelnaInformacja; }
    void setWynikiPosrednie(bool on);
    void setPelnaInformacja(bool on);

    // The parameters kept in memory for the run, read from the first row of
    // param: the decision-number pattern and the sort algorithm (into the
    // run's values), and the two print switches.
    struct PrintSwitches {
        bool drukujMetryczke = false;
        bool drukujStopke = false;
    };
    PrintSwitches readParameters();
    // Stores a print switch (DrukujMetryczke, DrukujStopke) in the first row
    // of param.
    void storePrintSwitch(const QString &field, bool on);

    // Progress windows for the rebuild of an old archive.
    void setProgressFactory(core::ProgressFactory factory) { m_progress = std::move(factory); }

signals:
    // The current table name changed (caption and menu states follow).
    void tableNameChanged(const QString &tableName);
    // The sort order was applied; the search starts with this text.
    void sortOrderApplied(reg::SortOrder order, const QString &searchText);
    void switchesChanged();
    // A rebuild needs a new start: the run ends.
    void restartRequired();

private:
    SwitchOutcome reopen(const std::optional<ArchiveParameters> &parameters);
    bool upgradeOldArchive(const std::optional<ArchiveParameters> &parameters, bool &restart);
    std::optional<ArchiveParameters> checkArchiveList();

    core::Context &m_ctx;
    std::unique_ptr<data::Table> m_view;
    QString m_tableName = CurrentApplications;
    ChoiceLists m_choiceLists;
    SortOrder m_order = SortOrder::Nazwiska;
    QString m_searchText;
    bool m_wynikiPosrednie = true;
    bool m_pelnaInformacja = true;
    core::ProgressFactory m_progress;
    std::optional<ArchiveParameters> m_listedParameters;  // of the archive's row in ArcLista
};

}  // namespace varnel::reg
