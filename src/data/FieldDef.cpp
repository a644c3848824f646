#include "data/FieldDef.h"

#include <QRegularExpression>

namespace varnel::data {

int TableDef::fieldIndex(const QString &fieldName) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const IndexDef *TableDef::primaryIndex() const {
    for (const auto &ix : indexes)
        if (ix.isPrimary())
            return &ix;
    return nullptr;
}

const IndexDef *TableDef::index(const QString &indexName) const {
    for (const auto &ix : indexes)
        if (!ix.isPrimary() && ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

QString declaredType(const FieldDef &f) {
    switch (f.type) {
    case FieldType::Text:
        return f.size > 0 ? QStringLiteral("TEXT(%1)").arg(f.size) : QStringLiteral("TEXT");
    // "MEMO TEXT": the word TEXT gives the column text affinity, so a memo
    // that looks like a number is kept exactly as written.
    case FieldType::Memo: return QStringLiteral("MEMO TEXT");
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Integer: return QStringLiteral("INTEGER");
    case FieldType::AutoInc: return QStringLiteral("INTEGER");
    case FieldType::Float: return QStringLiteral("FLOAT");
    case FieldType::Currency: return QStringLiteral("CURRENCY");
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    }
    return QStringLiteral("TEXT");
}

FieldDef fieldFromDeclared(const QString &name, const QString &declared, bool notNull) {
    FieldDef f;
    f.name = name;
    f.required = notNull;
    const QString t = declared.trimmed().toUpper();
    static const QRegularExpression sized(QStringLiteral(R"(^(\w+)\s*\(\s*(\d+)\s*\))"));
    const auto m = sized.match(t);
    const QString base = m.hasMatch() ? m.captured(1) : t.section(QLatin1Char(' '), 0, 0);
    if (base.startsWith(QLatin1String("MEMO")) || base == QLatin1String("CLOB")) {
        f.type = FieldType::Memo;
    } else if (base == QLatin1String("SMALLINT")) {
        f.type = FieldType::SmallInt;
    } else if (base == QLatin1String("INTEGER") || base == QLatin1String("INT") || base == QLatin1String("BIGINT")) {
        f.type = FieldType::Integer;
    } else if (base == QLatin1String("AUTOINC")) {
        f.type = FieldType::AutoInc;
    } else if (base == QLatin1String("FLOAT") || base == QLatin1String("REAL") || base == QLatin1String("DOUBLE")
               || base == QLatin1String("NUMERIC") || base == QLatin1String("DECIMAL")) {
        f.type = FieldType::Float;
    } else if (base == QLatin1String("CURRENCY") || base == QLatin1String("MONEY")) {
        f.type = FieldType::Currency;
    } else if (base == QLatin1String("DATE")) {
        f.type = FieldType::Date;
    } else if (base == QLatin1String("BOOLEAN") || base == QLatin1String("BOOL")) {
        f.type = FieldType::Boolean;
    } else {
        f.type = FieldType::Text;
        if (m.hasMatch())
            f.size = m.captured(2).toInt();
    }
    return f;
}

QString fieldTypeName(FieldType t) {
    switch (t) {
    case FieldType::Text: return QStringLiteral("text");
    case FieldType::Memo: return QStringLiteral("memo");
    case FieldType::SmallInt: return QStringLiteral("smallint");
    case FieldType::Integer: return QStringLiteral("integer");
    case FieldType::AutoInc: return QStringLiteral("autoinc");
    case FieldType::Float: return QStringLiteral("float");
    case FieldType::Currency: return QStringLiteral("currency");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::Boolean: return QStringLiteral("boolean");
    }
    return QString();
}

bool isTextual(FieldType t) { return t == FieldType::Text || t == FieldType::Memo; }

bool isNumeric(FieldType t) {
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::AutoInc
           || t == FieldType::Float || t == FieldType::Currency;
}

}  // namespace varnel::data
