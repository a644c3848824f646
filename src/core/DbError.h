#pragma once

#include <QString>
#include <stdexcept>

namespace varnel::core {

// A failure of the table engine. The message is the engine's own text, shown
// to the user as it stands.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// Opening a table with an expected field list found a field missing; the
// schema upgrade decides by the name of the first missing field.
class MissingFieldError : public DbError {
public:
    MissingFieldError(const QString &table, const QString &field)
        : DbError(QStringLiteral("%1: Field '%2' not found").arg(table, field)),
          m_table(table), m_field(field) {}
    const QString &table() const { return m_table; }
    const QString &field() const { return m_field; }

private:
    QString m_table;
    QString m_field;
};

// Posting a row whose Required field is blank.
class RequiredFieldError : public DbError {
public:
    explicit RequiredFieldError(const QString &field)
        : DbError(QStringLiteral("Pole '%1' musi mieć wartość").arg(field)), m_field(field) {}
    const QString &field() const { return m_field; }

private:
    QString m_field;
};

// A value that does not fit its field (letters in a number, out of range).
class FieldValueError : public DbError {
public:
    enum class Kind {
        Malformed,   // not a value of the field's type ("trzy" for a number)
        OutOfRange,  // a value of the type beyond the field's range
    };
    FieldValueError(const QString &field, const QString &message, Kind kind = Kind::Malformed)
        : DbError(message), m_field(field), m_kind(kind) {}
    const QString &field() const { return m_field; }
    Kind kind() const { return m_kind; }

private:
    QString m_field;
    Kind m_kind;
};

// Posting or removing a row that another cursor or program removed
// meanwhile.
class RecordGoneError : public DbError {
public:
    RecordGoneError() : DbError(QStringLiteral("Rekord został zmieniony lub usunięty przez innego użytkownika.")) {}
};

}  // namespace varnel::core
