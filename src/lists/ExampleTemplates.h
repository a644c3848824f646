#pragma once

#include "lists/ListTemplate.h"

#include <QStringList>

namespace varnel::lists {

// The list templates every new database starts with, so that an office can
// print a list at once and adapt it in the template editor:
// "lista_zarzadcy.lsa", the payment list for a building manager (number,
// decision number, name, address, the three payments totalled, signature),
// and "lista_wnioskodawcow.lsa", the list of applicants paid the lump sum
// in hand (number, name, address, the lump sum totalled, "Podpis").
ListTemplate managerPaymentList();
ListTemplate applicantLumpSumList();

// Writes both into a database directory; a file of that name already there
// is kept as it is. Returns the files written. Throws std::runtime_error
// when one cannot be written, having removed what it wrote.
QStringList writeExampleListTemplates(const QString &directory);
// Removes from a directory the example templates that are still as written
// (a new database given up after a failure); files changed since stay.
void removeExampleListTemplates(const QString &directory);

}  // namespace varnel::lists
