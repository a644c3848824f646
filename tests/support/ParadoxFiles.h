#pragma once

#include "data/FieldDef.h"

#include <QString>
#include <QVariantMap>
#include <QVector>

namespace varnel::test {

// A field of a Paradox table written for a test: a pxlib field type
// (pxfAlpha, pxfDate, ...) and its length in the record.
struct PxColumn {
    QString name;
    int type = 0;
    int length = 0;
};

// The Paradox fields that hold a layout of the program: text(N) as alpha N,
// currency as money, float as number, memo as a memo with a 30-byte leader.
QVector<PxColumn> paradoxColumns(const data::TableDef &def);

struct PxTableContents {
    QVector<PxColumn> columns;
    QVector<QVariantMap> rows;  // values by field name; a missing one is blank
    int codePage = 1250;        // recorded in the header; texts are written in it (852 or else 1250)
    int keyFields = 0;          // leading fields of the primary key; a keyed table gets its .PX
    // Lay the data blocks out here instead of through pxlib's record writer,
    // which looks a record's place up from the start of the file each time
    // (too slow for the tables of a benchmark). Not for memo fields.
    bool ownBlocks = false;
};

// Writes `path` (a .DB file) with pxlib, with its .MB when the table has
// memo fields and its .PX when it is keyed. Texts are encoded in the code
// page: Windows-1250 unless it is 852.
void writeParadoxTable(const QString &path, const PxTableContents &contents);

// The field types pxlib writes (from paradox.h), for tests that do not
// include pxlib themselves.
namespace px {
constexpr int Alpha = 0x01, Date = 0x02, Short = 0x03, Long = 0x04, Currency = 0x05, Number = 0x06, Logical = 0x09,
              Memo = 0x0C, AutoInc = 0x16;
}

}  // namespace varnel::test
