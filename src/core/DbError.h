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
    FieldValueError(const QString &field, const QString &message, bool outOfRange = false)
        : DbError(message), m_field(field), m_outOfRange(outOfRange) {}
    const QString &field() const { return m_field; }
    // A number of the right kind beyond the field's range (not a wrong kind).
    bool outOfRange() const { return m_outOfRange; }

private:
    QString m_field;
    bool m_outOfRange = false;
};

}  // namespace varnel::core
