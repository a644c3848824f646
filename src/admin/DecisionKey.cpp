#include "admin/DecisionKey.h"

#include "data/Database.h"
#include "data/Table.h"
#include "data/Walk.h"

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

int rebuildDecisionKeys(data::Table &registerTable, const QString &pattern, core::Progress *progress) {
    data::Table &t = registerTable;
    t.setIndexName(QString());
    data::Field number = t.field(QStringLiteral("Numer_decyzji"));
    data::Field key = t.field(QStringLiteral("IndexNrSupport"));
    data::WalkOptions options;
    options.progress = progress;
    const data::WalkResult r = data::walk(
        t,
        [&](data::Table &row) {
            const QString decision = number.asString();
            row.edit();
            key.setString(WyliczIndexSupp(decision, pattern, SortByRunningNumber));
            row.post();
            return true;
        },
        options);
    return r.done;
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
