#pragma once

#include "lists/ListItems.h"
#include "lists/ListSettings.h"
#include "lists/ListTemplate.h"

#include <QFont>
#include <QVector>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Table;
}
namespace varnel::print {
class PageDevice;
}

namespace varnel::lists {

// What a list print needs: the template, the settings of skladlist.db, the
// footer of the parameter row, the first page to print ("Od strony:") and
// where the text and number of each cell come from.
struct ListPrintJob {
    ListTemplate tmpl;
    ListSettings settings;
    ListFooter footer;
    int fromPage = 1;
    CellValueFunction cellValue;
};

struct ListPrintResult {
    enum Outcome {
        Printed,          // one job with the pages from fromPage on
        NoApplications,   // no application passes the selection: nothing printed
        BeyondLastPage,   // the list ends before fromPage: nothing printed
        DeviceFailed,     // the device could not begin or finish the job (error)
    };
    Outcome outcome = NoApplications;
    int pages = 0;             // pages laid out (printed or not)
    int firstPrintedPage = 0;  // the page number of the job's first page
    int rows = 0;              // applications listed
    QVector<double> sums;      // the total of each column ("+" columns; 0 for the others)
    int fromPage = 1;
    QString error;             // the device's message, for DeviceFailed

    // The message for an outcome that printed nothing.
    QString message() const;
};

// The fonts of a list in points: template fonts with their styles; the
// footer font plain. A size the template did not give is 10.
QFont listFont(const ListFont &f);
QFont footerFont(const ListFooter &f);

// Prints a payment list of the applications of an open table into the
// device, as one job titled "Lista". The table's index is set to the order
// chosen and stays set; its display is suspended meanwhile. The progress
// advances one step per application.
//
// The page: the header lines at x = 100 from y = 50, then the column titles
// and the rows, each cell at 100 + the widths of the columns before it,
// 9 units per character of width, cut from the right one character at a
// time (never below one) to the column less 27 units; the frame's vertical
// lines 27 units left of each column, the first at 73. A page ends when
// fewer than three row heights are left under the last row. After the last
// row: the totals of the "+" columns right-aligned in 10 characters at each
// column's left frame line, the footer, the page number. Pages before
// fromPage are laid out the same way but not printed.
// Whether any application of the open table passes the selection; the
// table's current row stays where it was.
bool hasListedApplications(data::Table &applications, const ListSettings &settings);

ListPrintResult printList(data::Table &applications, const ListPrintJob &job, print::PageDevice &device,
                          core::Progress &progress);

}  // namespace varnel::lists
