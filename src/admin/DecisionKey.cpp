#include "admin/DecisionKey.h"

#include "data/Database.h"
#include "data/Table.h"

namespace varnel::admin {

QString WyliczIndexSupp(const QString &decisionNumber, const QString &pattern, int algorithm) {
    if (algorithm != SortByRunningNumber)
        return decisionNumber;

    QString s = decisionNumber;
    // The last character of the pattern stays in front: with "AB/" the
    // number keeps its slash, which is dropped below.
    if (!pattern.isEmpty() && s.startsWith(pattern))
        s = s.mid(pattern.size() - 1);
    if (s.isEmpty())
        return decisionNumber;
    if (s.startsWith(QLatin1Char('/')))
        s.remove(0, 1);

    int n = 0;
    while (n < s.size() && s[n] >= QLatin1Char('0') && s[n] <= QLatin1Char('9'))
        ++n;
    const QString digits = s.left(n);
    bool fits = false;
    digits.toInt(&fits);  // signed 32-bit
    if (digits.isEmpty() || !fits)
        return decisionNumber;
    return digits.rightJustified(DecisionKeyWidth, QLatin1Char('0'));
}

namespace {

// Holds a table's controls off for the length of a walk.
class ControlsOff {
public:
    explicit ControlsOff(data::Table &t) : m_table(t) { m_table.disableControls(); }
    ~ControlsOff() { m_table.enableControls(); }
    ControlsOff(const ControlsOff &) = delete;
    ControlsOff &operator=(const ControlsOff &) = delete;

private:
    data::Table &m_table;
};

}  // namespace

int rebuildDecisionKeys(data::Table &registerTable, const QString &pattern, const Progress &progress) {
    data::Table &t = registerTable;
    t.setIndexName(QString());
    const int total = t.recordCount();
    if (progress)
        progress(0, total);

    int done = 0;
    {
        ControlsOff off(t);
        data::Transaction transaction(t.database());
        try {
            data::Field number = t.field(QStringLiteral("Numer_decyzji"));
            data::Field key = t.field(QStringLiteral("IndexNrSupport"));
            for (t.first(); !t.eof(); t.next()) {
                const QString decision = number.asString();
                t.edit();
                key.setString(WyliczIndexSupp(decision, pattern, SortByRunningNumber));
                t.post();
                ++done;
                if (progress)
                    progress(done, total);
            }
            transaction.commit();
        } catch (...) {
            // The rows the cursor holds must not outlive the rollback.
            t.cancel();
            throw;
        }
    }
    return done;
}

bool storeSortAlgorithm(data::Database &db, int algorithm) {
    data::Table param(db, QStringLiteral("param.db"));
    param.open();
    if (param.isEmpty())
        return false;
    param.first();
    param.edit();
    param.field(QStringLiteral("AlgorytmSortowania")).setInteger(algorithm);
    param.post();
    return true;
}

}  // namespace varnel::admin
