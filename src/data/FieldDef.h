#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace varnel::data {

// Field types of the tables. Sizes count characters and matter for Text only.
enum class FieldType {
    Text,      // text(N): at most N characters; an empty text is a blank
    Memo,      // free text of any length
    SmallInt,  // 16-bit signed
    Integer,   // 32-bit signed
    AutoInc,   // 32-bit number given by the engine on insert, never reused
    Float,     // 8-byte floating point
    Currency,  // money in złoty, held as an 8-byte floating point value
    Date,      // calendar date
    Boolean,
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;  // Text only; 0 = no limit
    bool required = false;

    bool operator==(const FieldDef &) const = default;
};

enum IndexOption : unsigned {
    IndexPrimary = 1u << 0,
    IndexUnique = 1u << 1,
    IndexDescending = 1u << 2,
    IndexCaseInsensitive = 1u << 3,  // text keys in Polish order without regard to case
};

struct IndexDef {
    QString name;  // empty for the primary index
    QStringList fields;
    unsigned options = 0;

    bool isPrimary() const { return options & IndexPrimary; }
    bool operator==(const IndexDef &) const = default;
};

struct TableDef {
    QString name;
    QVector<FieldDef> fields;
    QVector<IndexDef> indexes;  // the primary index (if any) first

    int fieldIndex(const QString &fieldName) const;  // -1 when absent; case-insensitive
    const IndexDef *primaryIndex() const;
    const IndexDef *index(const QString &indexName) const;  // case-insensitive
};

// The declared SQLite column type that carries a field's type and size,
// e.g. "TEXT(28)", "CURRENCY", "DATE".
QString declaredType(const FieldDef &f);
// The field type and size read back from a declared column type. Types made
// by other SQLite tools map to the nearest field type (VARCHAR(n) -> Text(n),
// REAL -> Float, INT -> Integer, anything unknown -> Text).
FieldDef fieldFromDeclared(const QString &name, const QString &declared, bool notNull);

QString fieldTypeName(FieldType t);  // "text", "currency", ... as the tools print them
bool isTextual(FieldType t);
bool isNumeric(FieldType t);

}  // namespace varnel::data
