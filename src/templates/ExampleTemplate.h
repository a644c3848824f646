#pragma once

#include "templates/RichText.h"

#include <QString>

namespace varnel::templates {

// The example decision template every new database gets, so that a new
// office can print a decision at once and adapt the text to its own.
inline const QString ExampleDecisionFile = QStringLiteral("decyzja.fmz");

// A decision granting the housing allowance ("decyzja w sprawie przyznania
// dodatku mieszkaniowego") with the usual placeholders: the decision number,
// the applicant and the address, the period, the amounts, the manager's part,
// the lump sum and the payment term. Placeholders are red, as the template
// editor puts them in.
RichText exampleDecision();

// Writes the example as RTF into a database directory, unless a file of
// that name is already there (an office's own template is never replaced).
// Throws TemplateFileError with the file's error.
void writeExampleDecision(const QString &directory);

// Removes the example from a directory when it is still as written (a new
// database given up after a failure); a file changed since stays.
void removeExampleDecision(const QString &directory);

}  // namespace varnel::templates
