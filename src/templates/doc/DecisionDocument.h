#pragma once

#include "templates/DecisionTemplate.h"
#include "templates/RichText.h"
#include "templates/Substitution.h"

#include <QDate>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace varnel::data {
class Table;
}

namespace varnel::templates {
class FieldCatalogue;
}

namespace varnel::templates::doc {

// ---- template files in a document --------------------------------------

// Loads a template file into a document: RTF, or plain text for a file that
// is not RTF (see templates/TemplateFile.h). Throws TemplateFileError with
// the file's error; the document is then left as it was.
void loadTemplate(QTextDocument &doc, const QString &path);

// Saves a document as an RTF template file; a failed save keeps the old
// file. Throws TemplateFileError with the file's error.
void saveTemplate(const QTextDocument &doc, const QString &path);

// ---- the substitution on a document --------------------------------------

// A QTextDocument as the text of the substitution (templates/Substitution.h).
// The search runs on the document's text, so a placeholder that an office
// suite split into several runs of different formats is found all the same.
// A replacement takes the format of the placeholder's first character, in
// black. A stretch running from one table cell into another (a "@<" whose
// ">@" stands in another cell) is no placeholder and stays as it is.
class DocumentPlaceholderText : public PlaceholderText {
public:
    explicit DocumentPlaceholderText(QTextDocument &doc) : m_doc(doc) {}
    int indexOf(const QString &what, int from) const override;
    QString text(int from, int to) const override;
    bool replace(int from, int to, const QString &value) override;

private:
    QTextDocument &m_doc;
};

// Fills every placeholder of the document with the catalogue's texts; the
// number of placeholders filled.
int fillPlaceholders(QTextDocument &doc, const FieldCatalogue &catalogue);

// ---- the decision --------------------------------------------------------

// Appends the metric line at the end of the document, in "Courier New" 8 pt,
// regular, black, followed by the four empty lines.
void appendMetricLine(QTextDocument &doc, const QString &line);

// Appends the footer: in "Courier New" 8 pt, regular, black, two empty lines,
// then each line of the footer text.
void appendFooter(QTextDocument &doc, const QStringList &lines);

struct DecisionOptions {
    DecisionPrintSwitches switches;  // from param.db: readDecisionPrintSwitches()
    QString userName;                // the user logged in, for the metric line
    QDate today = QDate::currentDate();
};

// The decision for the current row of an application table, in its order:
// the template; the metric line and four empty lines when DrukujMetryczke
// is set; the footer when DrukujStopke is set; the substitution, which fills
// the placeholders of the footer too. The print window then puts the caret
// at the start of the document.
void assembleDecision(QTextDocument &doc, const RichText &templateText, data::Table &applications,
                      const DecisionOptions &options);

// The same from a template file, reading the switches of param.db through
// the application table's database. Throws TemplateFileError when the file
// cannot be read (the document is then left as it was) and core::DbError
// when a table cannot.
void assembleDecision(QTextDocument &doc, const QString &templatePath, data::Table &applications,
                      const QString &userName);

}  // namespace varnel::templates::doc
