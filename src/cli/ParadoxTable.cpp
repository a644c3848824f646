#include "cli/ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <cstring>
// pxlib's header declares C functions without extern "C".
extern "C" {
#include <paradox.h>
}
#include <unicode/ucnv.h>

namespace varnel::cli {

namespace {

// Day 1 of a Paradox date is 1 January of year 1 (proleptic Gregorian).
constexpr qint64 JulianDayBeforeYear1 = 1721425;
constexpr int MemoBlockSize = 4096;
// A memo field ends in its pointer into the memo file.
constexpr int MemoPointerSize = 10;

quint16 le16(const char *p) {
    return quint16(quint8(p[0]) | (quint8(p[1]) << 8));
}
qint16 le16s(const char *p) { return qint16(le16(p)); }
quint32 le32(const char *p) {
    return quint32(quint8(p[0])) | (quint32(quint8(p[1])) << 8) | (quint32(quint8(p[2])) << 16)
           | (quint32(quint8(p[3])) << 24);
}

QString nameOf(const QString &path) { return QFileInfo(path).fileName(); }

// A blank 4-byte field is all zero bytes. pxlib 0.6.8 tells blanks for the
// other sizes but reads this one as -2147483648 where long has 64 bits.
bool blank4(const char *p) { return p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0; }

}  // namespace

// ---------------------------------------------------------------------------
// Code pages

CodePage::CodePage(Id id) : m_id(id) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *conv = ucnv_open(id == Dos852 ? "ibm-852" : "windows-1250", &status);
    if (U_FAILURE(status))
        throw ParadoxError(QStringLiteral("brak tablicy strony kodowej %1 w bibliotece ICU").arg(name()));
    ucnv_setToUCallBack(conv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        UChar out[4];
        status = U_ZERO_ERROR;
        ucnv_reset(conv);
        const int32_t n = ucnv_toUChars(conv, out, 4, &byte, 1, &status);
        if (U_FAILURE(status) || n != 1) {
            m_chars[b] = u'\uFFFD';
            m_undefined.set(b);
        } else {
            m_chars[b] = char16_t(out[0]);
        }
    }
    ucnv_close(conv);
}

QString CodePage::name() const {
    return m_id == Dos852 ? QStringLiteral("DOS 852") : QStringLiteral("Windows-1250");
}

QString CodePage::decode(const char *bytes, qsizetype size, bool *lossy) const {
    QString s(size, Qt::Uninitialized);
    QChar *out = s.data();
    bool bad = false;
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = quint8(bytes[i]);
        out[i] = QChar(m_chars[b]);
        bad = bad || m_undefined.test(b);
    }
    if (lossy)
        *lossy = bad;
    return s;
}

QString findFileIgnoringCase(const QString &dir, const QString &name) {
    const QDir d(dir);
    for (const QString &entry : d.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(entry);
    return QString();
}

// ---------------------------------------------------------------------------
// pxlib handles

struct ParadoxTable::Px {
    pxdoc_t *doc = nullptr;
    FILE *file = nullptr;
    QString errors;  // what pxlib reported

    static void onError(pxdoc_t *, int, const char *msg, void *data) {
        auto *self = static_cast<Px *>(data);
        if (!self->errors.isEmpty())
            self->errors += QStringLiteral("; ");
        self->errors += QString::fromLocal8Bit(msg);
    }

    // Opens a Paradox file read-only; false when pxlib cannot read its header.
    bool open(const QString &path) {
        doc = PX_new3(&Px::onError, nullptr, nullptr, nullptr, this);
        if (!doc)
            return false;
        PX_set_parameter(doc, "warning", "false");
        file = std::fopen(QFile::encodeName(path).constData(), "rb");
        if (!file) {
            errors = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        return PX_open_fp(doc, file) == 0;
    }
    ~Px() {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
        if (file)
            std::fclose(file);
    }
};

// ---------------------------------------------------------------------------
// The memo file

class ParadoxTable::MemoFile {
public:
    explicit MemoFile(const QString &path) : m_file(path) {}
    bool open() { return m_file.open(QIODevice::ReadOnly) && m_file.size() >= MemoBlockSize && readHeader(); }
    QString path() const { return m_file.fileName(); }

    // The bytes a pointer into the file gives (offset with the slot in its
    // low byte, length); throws with `where` when it does not fit the file.
    QByteArray read(quint32 offset, quint32 length, const QString &where) {
        const qint64 block = offset & ~quint32(0xFF);
        const int slot = int(offset & 0xFF);
        if (block < MemoBlockSize || block % MemoBlockSize != 0 || block + 12 > m_file.size())
            throw bad(where, QStringLiteral("wskazanie poza plikiem (%1)").arg(block));
        const QByteArray head = readAt(block, std::min<qint64>(12 + 64 * 5, m_file.size() - block), where);
        if (slot == 0xFF) {  // a block of its own: type 2, blocks, length, modification number, data
            if (quint8(head[0]) != 2 || le32(head.constData() + 3) != length)
                throw bad(where, QStringLiteral("blok %1 nie jest blokiem tej notatki").arg(block));
            return readAt(block + 9, length, where);
        }
        // A block shared by small memos: type 3, then 64 slots of five bytes
        // (offset / 16, length in 16-byte units, modification number, length
        // of the last unit).
        if (quint8(head[0]) != 3 || slot >= 64 || head.size() < 12 + 64 * 5)
            throw bad(where, QStringLiteral("blok %1 nie ma miejsca %2").arg(block).arg(slot));
        const char *entry = head.constData() + 12 + slot * 5;
        const int start = quint8(entry[0]) * 16;
        const qint64 units = quint8(entry[1]);
        const qint64 slotLength = units > 0 ? (units - 1) * 16 + quint8(entry[4]) : 0;
        if (start == 0 || slotLength != qint64(length) || start + qint64(length) > MemoBlockSize)
            throw bad(where, QStringLiteral("miejsce %1 bloku %2 nie zgadza się ze wskazaniem").arg(slot).arg(block));
        return readAt(block + start, length, where);
    }

private:
    bool readHeader() {
        char type = 1;
        return m_file.seek(0) && m_file.read(&type, 1) == 1 && type == 0;
    }
    QByteArray readAt(qint64 pos, qint64 size, const QString &where) {
        if (pos + size > m_file.size() || !m_file.seek(pos))
            throw bad(where, QStringLiteral("plik kończy się przed końcem notatki"));
        const QByteArray data = m_file.read(size);
        if (data.size() != size)
            throw bad(where, QStringLiteral("nie można odczytać notatki: %1").arg(m_file.errorString()));
        return data;
    }
    ParadoxError bad(const QString &where, const QString &what) const {
        return ParadoxError(QStringLiteral("%1: uszkodzony plik notatek %2: %3").arg(where, nameOf(m_file.fileName()), what));
    }

    QFile m_file;
};

// ---------------------------------------------------------------------------
// The table

namespace {

// The size a field of a fixed-size type has in the record.
int fixedSize(ParadoxType t) {
    switch (t) {
    case ParadoxType::Date: case ParadoxType::Long: case ParadoxType::AutoInc: case ParadoxType::Time: return 4;
    case ParadoxType::Short: return 2;
    case ParadoxType::Currency: case ParadoxType::Number: case ParadoxType::Timestamp: return 8;
    case ParadoxType::Logical: return 1;
    case ParadoxType::Bcd: return 17;
    default: return 0;
    }
}

bool typeOf(int pxType, ParadoxType *t) {
    switch (pxType) {
    case pxfAlpha: *t = ParadoxType::Alpha; return true;
    case pxfDate: *t = ParadoxType::Date; return true;
    case pxfShort: *t = ParadoxType::Short; return true;
    case pxfLong: *t = ParadoxType::Long; return true;
    case pxfCurrency: *t = ParadoxType::Currency; return true;
    case pxfNumber: *t = ParadoxType::Number; return true;
    case pxfLogical: *t = ParadoxType::Logical; return true;
    case pxfMemoBLOb: *t = ParadoxType::Memo; return true;
    case pxfFmtMemoBLOb: *t = ParadoxType::FormattedMemo; return true;
    case pxfBLOb: case pxfOLE: case pxfGraphic: *t = ParadoxType::Binary; return true;
    case pxfTime: *t = ParadoxType::Time; return true;
    case pxfTimestamp: *t = ParadoxType::Timestamp; return true;
    case pxfAutoInc: *t = ParadoxType::AutoInc; return true;
    case pxfBCD: *t = ParadoxType::Bcd; return true;
    case pxfBytes: *t = ParadoxType::Bytes; return true;
    default: return false;
    }
}

bool isBlob(ParadoxType t) {
    return t == ParadoxType::Memo || t == ParadoxType::FormattedMemo || t == ParadoxType::Binary;
}

}  // namespace

QString ParadoxTable::describe(const QString &what) const {
    return QStringLiteral("plik %1 nie jest poprawną tabelą (%2)").arg(m_path, what);
}

ParadoxTable::ParadoxTable(const QString &path) : m_path(path), m_codePage(CodePage::Windows1250) {
    // The fixed part of the header is checked here before pxlib reads it, so
    // that a damaged file gives a message, not a wild allocation.
    QFile raw(path);
    if (!raw.open(QIODevice::ReadOnly))
        throw ParadoxError(QStringLiteral("nie można otworzyć pliku %1: %2").arg(path, raw.errorString()));
    const qint64 fileSize = raw.size();
    const QByteArray head = raw.read(0x60);
    raw.close();
    if (head.size() < 0x60)
        throw ParadoxError(describe(QStringLiteral("plik jest za krótki na nagłówek")), true);
    const int recordSize = le16(head.constData());
    const int headerSize = le16(head.constData() + 2);
    const int fileType = quint8(head[4]);
    const int maxTableSize = quint8(head[5]);
    const int fieldCount = le16(head.constData() + 0x21);
    if (fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB)
        throw ParadoxError(describe(QStringLiteral("nieznany rodzaj pliku %1").arg(fileType)), true);
    if (recordSize == 0 || headerSize < 0x58 || headerSize > fileSize || headerSize % 0x800 != 0 || fieldCount == 0
        || fieldCount > 255 || maxTableSize == 0 || maxTableSize > 32 || fieldCount * 2 + 0x78 > headerSize)
        throw ParadoxError(describe(QStringLiteral("uszkodzony nagłówek")), true);

    m_px = std::make_unique<Px>();
    if (!m_px->open(path))
        throw ParadoxError(describe(QStringLiteral("pxlib: %1").arg(m_px->errors)), true);
    const pxhead_t *h = m_px->doc->px_head;
    if (h->px_recordsize != recordSize || h->px_numfields != fieldCount)
        throw ParadoxError(describe(QStringLiteral("uszkodzony nagłówek")));

    int offset = 0;
    for (int i = 0; i < h->px_numfields; ++i) {
        const pxfield_t *f = PX_get_field(m_px->doc, i);
        ParadoxField field;
        field.name = QString::fromLatin1(f->px_fname ? f->px_fname : "");
        field.length = f->px_flen;
        field.decimals = f->px_fdc;
        if (!typeOf(quint8(f->px_ftype), &field.type))
            throw ParadoxError(describe(QStringLiteral("pole %1 ma nieznany typ %2").arg(field.name).arg(int(quint8(f->px_ftype)))));
        const int fixed = fixedSize(field.type);
        if (field.name.isEmpty() || field.length <= 0 || (fixed && field.length != fixed)
            || (isBlob(field.type) && field.length <= MemoPointerSize))
            throw ParadoxError(describe(QStringLiteral("pole %1 ma błędną długość %2").arg(i + 1).arg(field.length)));
        m_fields << field;
        m_offsets << offset;
        offset += field.length;
    }
    if (offset != recordSize)
        throw ParadoxError(describe(QStringLiteral("długość rekordu nie zgadza się z polami")));
    m_record.resize(recordSize);
    m_records = h->px_numrecords;
    m_keyFields = fileType == pxfFileTypIndexDB ? h->px_primarykeyfields : 0;
    if (m_keyFields < 0 || m_keyFields > m_fields.size())
        throw ParadoxError(describe(QStringLiteral("błędna liczba pól klucza")));
    m_autoInc = h->px_autoinc;
    m_recordedCodePage = h->px_fileversion >= 40 ? h->px_doscodepage : 0;
    m_sortOrder = quint8(h->px_sortorder);
    if (m_recordedCodePage == 852) {
        m_codePage = CodePage(CodePage::Dos852);
        m_knownDriver = true;
    } else {
        m_knownDriver = m_recordedCodePage == 1250;
    }

    checkBlocks();
    if (m_keyFields > 0)
        checkPrimaryIndex();
    for (const ParadoxField &f : m_fields) {
        if (!isBlob(f.type))
            continue;
        const QFileInfo info(path);
        const QString mb = findFileIgnoringCase(info.absolutePath(), info.completeBaseName() + QStringLiteral(".MB"));
        if (!mb.isEmpty()) {
            m_memo = std::make_unique<MemoFile>(mb);
            if (!m_memo->open())
                throw ParadoxError(QStringLiteral("plik notatek %1 tabeli %2 jest uszkodzony albo nie daje się odczytać")
                                       .arg(mb, fileName()));
        }
        break;
    }
}

ParadoxTable::~ParadoxTable() = default;

QString ParadoxTable::fileName() const { return nameOf(m_path); }

int ParadoxTable::fieldIndex(const QString &name) const {
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Walks the chain of data blocks: every block inside the file, none twice,
// and as many records in them as the header counts. A copy cut short or a
// damaged block shows here rather than as missing rows.
void ParadoxTable::checkBlocks() {
    const pxhead_t *h = m_px->doc->px_head;
    QFile raw(m_path);
    if (!raw.open(QIODevice::ReadOnly))
        throw ParadoxError(QStringLiteral("nie można otworzyć pliku %1: %2").arg(m_path, raw.errorString()));
    const qint64 blockSize = qint64(h->px_maxtablesize) * 0x400;
    const qint64 fileSize = raw.size();
    const int recordSize = h->px_recordsize;
    qint64 counted = 0;
    QSet<int> seen;
    for (int block = int(h->px_firstblock); block != 0;) {
        const qint64 pos = h->px_headersize + qint64(block - 1) * blockSize;
        if (block < 0 || seen.contains(block) || pos + 6 > fileSize)
            throw ParadoxError(describe(QStringLiteral("łańcuch bloków danych jest przerwany (blok %1)").arg(block)));
        seen.insert(block);
        char bh[6];
        if (!raw.seek(pos) || raw.read(bh, 6) != 6)
            throw ParadoxError(describe(QStringLiteral("nie można odczytać bloku %1").arg(block)));
        const int used = le16s(bh + 4);  // bytes of records in the block less one record
        if (used >= 0) {
            if (used % recordSize != 0 || 6 + used + recordSize > blockSize || pos + 6 + used + recordSize > fileSize)
                throw ParadoxError(describe(QStringLiteral("blok %1 jest uszkodzony albo plik jest obcięty").arg(block)));
            counted += used / recordSize + 1;
        }
        block = le16(bh);
    }
    if (counted != h->px_numrecords)
        throw ParadoxError(describe(QStringLiteral("w blokach jest %1 rekordów, a nagłówek podaje %2")
                                        .arg(counted)
                                        .arg(h->px_numrecords)));
}

// A keyed table keeps its primary index in a file of its own (.PX). The
// migration reads the records from the table file, but a table copied
// without its index is an incomplete copy of the old directory.
void ParadoxTable::checkPrimaryIndex() {
    const QFileInfo info(m_path);
    const QString px = findFileIgnoringCase(info.absolutePath(), info.completeBaseName() + QStringLiteral(".PX"));
    if (px.isEmpty())
        throw ParadoxError(QStringLiteral("brak pliku indeksu głównego %1.PX tabeli %2 (tabela z kluczem musi mieć "
                                          "swój indeks; skopiuj katalog starej bazy w całości)")
                               .arg(info.completeBaseName(), fileName()));
    Px index;
    if (!index.open(px) || index.doc->px_head->px_filetype != pxfFileTypPrimIndex)
        throw ParadoxError(QStringLiteral("plik indeksu głównego %1 tabeli %2 jest uszkodzony").arg(px, fileName()));
}

void ParadoxTable::read(int recno, QVector<QVariant> &values, QVector<int> *lossyText) {
    if (lossyText)
        lossyText->clear();
    const auto where = [&] { return QStringLiteral("%1, rekord %2").arg(fileName()).arg(recno + 1); };
    if (!PX_get_record(m_px->doc, recno, m_record.data()))
        throw ParadoxError(QStringLiteral("%1: nie można odczytać rekordu (%2)").arg(where(), m_px->errors));
    values.resize(m_fields.size());
    pxdoc_t *doc = m_px->doc;
    for (int i = 0; i < m_fields.size(); ++i) {
        const ParadoxField &f = m_fields[i];
        char *data = m_record.data() + m_offsets[i];
        QVariant &v = values[i];
        v = QVariant();
        switch (f.type) {
        case ParadoxType::Alpha: {
            // The text is the field's bytes up to the first zero byte; read in
            // place rather than through PX_get_data_alpha, which allocates a
            // copy of every value (millions in a large register).
            const auto *end = static_cast<const char *>(std::memchr(data, 0, size_t(f.length)));
            const qsizetype size = end ? end - data : f.length;
            if (size > 0) {
                bool lossy = false;
                v = m_codePage.decode(data, size, &lossy);
                if (lossy && lossyText)
                    *lossyText << i;
            }
            break;
        }
        case ParadoxType::Date: {
            long days = 0;
            if (!blank4(data) && PX_get_data_long(doc, data, 4, &days) > 0) {
                const QDate d = QDate::fromJulianDay(days + JulianDayBeforeYear1);
                v = d.isValid() ? QVariant(d) : QVariant(qint64(days));
            }
            break;
        }
        case ParadoxType::Short: {
            short n = 0;
            if (PX_get_data_short(doc, data, 2, &n) > 0)
                v = qint64(n);
            break;
        }
        case ParadoxType::Long:
        case ParadoxType::AutoInc: {
            long n = 0;
            if (!blank4(data) && PX_get_data_long(doc, data, 4, &n) > 0)
                v = qint64(n);
            break;
        }
        case ParadoxType::Currency:
        case ParadoxType::Number: {
            double d = 0;
            if (PX_get_data_double(doc, data, 8, &d) > 0)
                v = d;
            break;
        }
        case ParadoxType::Logical: {
            char b = 0;
            if (PX_get_data_byte(doc, data, 1, &b) > 0)
                v = b != 0;
            break;
        }
        case ParadoxType::Time: {
            long ms = 0;
            if (!blank4(data) && PX_get_data_long(doc, data, 4, &ms) > 0)
                v = QTime::fromMSecsSinceStartOfDay(int(ms));
            break;
        }
        case ParadoxType::Timestamp: {
            double ms = 0;
            if (PX_get_data_double(doc, data, 8, &ms) > 0) {
                const qint64 whole = qint64(ms);
                const QDate d = QDate::fromJulianDay(whole / 86400000 + JulianDayBeforeYear1);
                v = QDateTime(d, QTime::fromMSecsSinceStartOfDay(int(whole % 86400000)));
            }
            break;
        }
        case ParadoxType::Bcd: {
            char *text = nullptr;
            if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char *>(data), f.decimals, &text) > 0 && text)
                v = QString::fromLatin1(text).toDouble();
            if (text)
                doc->free(doc, text);
            break;
        }
        case ParadoxType::Bytes:
            v = QByteArray(data, f.length);
            break;
        case ParadoxType::Memo:
        case ParadoxType::FormattedMemo:
        case ParadoxType::Binary: {
            const auto at = [&] { return QStringLiteral("%1, pole %2").arg(where(), f.name); };
            const int leader = f.length - MemoPointerSize;
            const quint32 pointer = le32(data + leader);
            const quint32 length = le32(data + leader + 4);
            QByteArray bytes;
            if (length == 0) {
                break;
            } else if (pointer == 0) {  // short enough to stand in the record itself
                if (length > quint32(leader))
                    throw ParadoxError(QStringLiteral("%1: uszkodzona notatka (długość %2)").arg(at()).arg(length));
                bytes = QByteArray(data, int(length));
            } else if (!m_memo) {
                throw ParadoxError(QStringLiteral("%1: brak pliku notatek %2.MB").arg(at(), QFileInfo(m_path).completeBaseName()));
            } else {
                bytes = m_memo->read(pointer, length, at());
            }
            if (bytes.isEmpty())
                break;
            if (f.type == ParadoxType::Binary) {
                v = bytes;
            } else {
                bool lossy = false;
                v = m_codePage.decode(bytes.constData(), bytes.size(), &lossy);
                if (lossy && lossyText)
                    *lossyText << i;
            }
            break;
        }
        }
    }
}

}  // namespace varnel::cli
