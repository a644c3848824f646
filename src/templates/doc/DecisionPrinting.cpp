#include "templates/doc/DecisionPrinting.h"

#include "core/Progress.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Walk.h"
#include "print/PageDevice.h"
#include "print/RichTextPrint.h"
#include "templates/DecisionPrint.h"

#include <QTextDocument>

namespace varnel::templates::doc {

namespace {

QString applicationName(data::Table &t) {
    return QStringLiteral("%1 %2 (nr ew. %3)")
        .arg(t.field(QStringLiteral("Nazwisko")).asString(), t.field(QStringLiteral("Imie")).asString(),
             t.field(QStringLiteral("NrEw")).asString());
}

}  // namespace

bool printDecision(print::PageDevice &device, const QTextDocument &decision, int copies) {
    device.setJobTitle(DecisionJobTitle);
    device.setCopies(copies);
    return print::printRichText(device, decision, device.area(print::DecisionMargins));
}

bool DecisionJob::add(const QTextDocument &decision) {
    if (m_decisions == 0) {
        m_device.setJobTitle(DecisionJobTitle);
        m_device.setCopies(1);
        if (!m_device.beginJob())
            return false;
    }
    const print::RichTextPages pages(m_device, decision, m_device.area(print::DecisionMargins));
    for (int page = 0; page < pages.pageCount(); ++page) {
        if (m_decisions > 0 || page > 0)
            m_device.newPage();
        pages.draw(m_device, page);
    }
    ++m_decisions;
    return true;
}

bool DecisionJob::finish() { return !m_device.isJobOpen() || m_device.endJob(); }

FilledDecisions fillDecisions(data::Database &db, const QString &tableName, const DecisionSelection &selection,
                              const RichText &templateText, const DecisionOptions &options,
                              core::Progress &progress,
                              const std::function<void(const QTextDocument &decision)> &filled) {
    data::Table t(db, tableName);
    t.setFieldNames(data::applicationFieldNames());
    t.open();
    FilledDecisions result;
    const auto fillCurrent = [&] {
        QTextDocument doc;
        assembleDecision(doc, templateText, t, options);
        if (!t.field(QStringLiteral("ObliczeniaOK")).asBoolean())
            result.notCalculated << applicationName(t);
        filled(doc);
        ++result.count;
    };
    if (selection.nrEw) {
        if (!t.findKey({*selection.nrEw}))
            throw DecisionNotFound(*selection.nrEw);
        fillCurrent();
        return result;
    }
    // One walk in surname order: one transaction, so that every decision
    // comes from one state of the table.
    t.setIndexName(QStringLiteral("NazwNdx"));
    data::WalkOptions walking;
    walking.progress = &progress;
    data::walk(
        t,
        [&](data::Table &) {
            fillCurrent();
            return true;
        },
        walking);
    return result;
}

QString decisionsText(const QStringList &texts) {
    QStringList ended;
    ended.reserve(texts.size());
    for (const QString &t : texts)
        ended << (t.endsWith(QLatin1Char('\n')) ? t : t + QLatin1Char('\n'));
    return ended.join(QLatin1Char('\f'));
}

}  // namespace varnel::templates::doc
