#pragma once

#include "templates/doc/DecisionDocument.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>

class QTextDocument;

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Database;
}
namespace varnel::print {
class PageDevice;
}

namespace varnel::templates::doc {

// ---- one decision ----------------------------------------------------------

// Prints a filled decision as one job titled "Decyzja" in `copies` copies,
// every page inside the decision's rectangle of the device's page (200 from
// the left and right edges, 50 from the top and bottom). False when the job
// could not be begun or finished (the device's errorString() says why).
bool printDecision(print::PageDevice &device, const QTextDocument &decision, int copies);

// ---- many decisions, without a window --------------------------------------

// Decisions printed one after the other into one job titled "Decyzja", each
// starting on a new page, inside the same rectangle as printDecision. The
// job begins with the first decision added.
class DecisionJob {
public:
    explicit DecisionJob(print::PageDevice &device) : m_device(device) {}
    // False when the device could not begin the job.
    bool add(const QTextDocument &decision);
    // Ends the job, if one was begun; false when it could not be finished.
    bool finish();
    int decisions() const { return m_decisions; }

private:
    print::PageDevice &m_device;
    int m_decisions = 0;
};

// Which applications of a table get their decision: the one with this
// registry number (NrEw), or all of them in surname order.
struct DecisionSelection {
    std::optional<qint64> nrEw;
};

struct FilledDecisions {
    int count = 0;
    // "Nazwisko Imię (nr ew. N)" of every application filled whose
    // ObliczeniaOK is not set: its amounts are not those of a valid
    // calculation.
    QStringList notCalculated;
};

// Fills the template for each application of the selection in the table
// `tableName` (Aktualne or an archive) with its stored amounts (nothing is
// computed) and hands each filled decision to `filled`, in order. The
// applications are read through a cursor of their own; all of them are
// filled in one walk (one transaction, so that they come from one state of
// the table; `progress` a step a decision, and a progress that says stop
// ends it after the decision done), one by its registry number without a
// progress. Throws core::DbError when the table cannot be read (an older
// layout names the field it lacks), and DecisionNotFound when the registry
// number is not there.
FilledDecisions fillDecisions(data::Database &db, const QString &tableName, const DecisionSelection &selection,
                              const RichText &templateText, const DecisionOptions &options,
                              core::Progress &progress,
                              const std::function<void(const QTextDocument &decision)> &filled);

class DecisionNotFound : public std::runtime_error {
public:
    explicit DecisionNotFound(qint64 nrEw) : std::runtime_error("no such application"), nrEw(nrEw) {}
    qint64 nrEw;
};

// The plain text of filled decisions as a text file holds them: each
// decision's text ending with a line end, the decisions separated by a form
// feed character.
QString decisionsText(const QStringList &texts);

}  // namespace varnel::templates::doc
