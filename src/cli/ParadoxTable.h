#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>
#include <array>
#include <bitset>
#include <memory>
#include <stdexcept>

namespace varnel::cli {

// A table file of the old system that cannot be read: missing, damaged, or
// without a file it needs. The message names the file and says what is wrong.
class ParadoxError : public std::runtime_error {
public:
    explicit ParadoxError(const QString &message, bool notATable = false)
        : std::runtime_error(message.toStdString()), m_message(message), m_notATable(notATable) {}
    const QString &message() const { return m_message; }
    // The file does not even have the header of a Paradox table.
    bool notATable() const { return m_notATable; }

private:
    QString m_message;
    bool m_notATable = false;
};

// Kinds of fields of a Paradox table, as the file records them.
enum class ParadoxType {
    Alpha, Date, Short, Long, Currency, Number, Logical, Memo, FormattedMemo, Binary, Time, Timestamp,
    AutoInc, Bcd, Bytes,
};

struct ParadoxField {
    QString name;
    ParadoxType type = ParadoxType::Alpha;
    int length = 0;  // bytes in the record (characters of an Alpha field)
    int decimals = 0;  // Bcd only
};

// The code page of the texts of a table, taken from the language driver the
// file records. Both are single-byte code pages; a byte that a code page does
// not define reads as U+FFFD.
class CodePage {
public:
    enum Id { Windows1250, Dos852 };
    explicit CodePage(Id id);
    Id id() const { return m_id; }
    QString name() const;  // "Windows-1250", "DOS 852"
    // The text of the bytes; `lossy` is set when one of them is not defined.
    QString decode(const char *bytes, qsizetype size, bool *lossy = nullptr) const;

private:
    Id m_id;
    std::array<char16_t, 256> m_chars{};
    std::bitset<256> m_undefined;
};

// One Paradox table (.DB) of the old database directory, read through pxlib.
// Every file is opened read-only. Opening checks what a damaged or
// incompletely copied table would show: the header, the chain of data blocks
// against the record count, the primary index file (.PX) of a keyed table
// and, for a table with memo fields, its memo file (.MB).
//
// Memo texts are read from the .MB file by this class itself: pxlib 0.6.8
// (Debian 12) aborts the process when it opens a memo file, so its blob
// functions cannot be used. The memo file is a chain of 4 KiB blocks; a
// record's memo field ends in a pointer (file offset with the slot number in
// its low byte, length, modification number) to either a block of its own or
// a slot in a block shared by small memos.
class ParadoxTable {
public:
    explicit ParadoxTable(const QString &path);
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable &) = delete;
    ParadoxTable &operator=(const ParadoxTable &) = delete;

    QString path() const { return m_path; }
    QString fileName() const;
    const QVector<ParadoxField> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const;  // case-insensitive; -1 when absent
    int recordCount() const { return m_records; }
    // The number of leading fields that make up the primary key; 0 for a
    // table without one.
    int keyFieldCount() const { return m_keyFields; }
    // The last autoincrement number the table gave, as its header records it.
    qint64 autoIncCounter() const { return m_autoInc; }

    // The language driver as the header records it: its code page (0 when
    // the file has none, as tables of Paradox 3) and sort order byte.
    int recordedCodePage() const { return m_recordedCodePage; }
    int sortOrder() const { return m_sortOrder; }
    // The code page the texts are read in: Windows-1250 or DOS 852 as the
    // driver says; Windows-1250 for any other driver (knownDriver() false).
    const CodePage &codePage() const { return m_codePage; }
    bool knownDriver() const { return m_knownDriver; }

    // The values of record `recno` (0-based, in the order of the file) by
    // field: QString for texts and memos, qint64 for whole numbers, double,
    // QDate, QTime, QDateTime, bool, QByteArray for binary fields, and an
    // invalid QVariant for a blank. `lossyText` (when given) gets the field
    // positions of texts with a byte the code page does not define.
    void read(int recno, QVector<QVariant> &values, QVector<int> *lossyText = nullptr);

private:
    struct Px;
    class MemoFile;
    void checkBlocks();
    void checkPrimaryIndex();
    QString describe(const QString &what) const;

    QString m_path;
    std::unique_ptr<Px> m_px;
    std::unique_ptr<MemoFile> m_memo;
    QVector<ParadoxField> m_fields;
    QVector<int> m_offsets;
    QByteArray m_record;
    int m_records = 0;
    int m_keyFields = 0;
    qint64 m_autoInc = 0;
    int m_recordedCodePage = 0;
    int m_sortOrder = 0;
    CodePage m_codePage;
    bool m_knownDriver = false;
};

// The file in `dir` whose name equals `name` without regard to case (files
// copied from the old system's machine are spelled in any case), or empty.
QString findFileIgnoringCase(const QString &dir, const QString &name);

}  // namespace varnel::cli
