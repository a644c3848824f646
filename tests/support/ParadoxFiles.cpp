#include "support/ParadoxFiles.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>
#include <unicode/ucnv.h>
extern "C" {
#include <paradox.h>
}

namespace varnel::test {

namespace {

QByteArray encode(const QString &text, int codePage) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *conv = ucnv_open(codePage == 852 ? "ibm-852" : "windows-1250", &status);
    QByteArray out(text.size() * 2 + 4, '\0');
    const int32_t n = ucnv_fromUChars(conv, out.data(), int32_t(out.size()), reinterpret_cast<const UChar *>(text.utf16()),
                                      int32_t(text.size()), &status);
    ucnv_close(conv);
    if (U_FAILURE(status))
        throw std::runtime_error("cannot encode a test text");
    out.resize(n);
    return out;
}

void fail(const char *what, const QString &path) {
    throw std::runtime_error(std::string(what) + ": " + path.toStdString());
}

void onError(pxdoc_t *, int, const char *msg, void *) { std::fprintf(stderr, "pxlib: %s\n", msg); }

void put16(QByteArray &b, qsizetype at, int v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

// Puts the data blocks after the header that pxlib wrote for the empty
// table: each block starts with the numbers of the next and the previous
// block and the size of its records less one record; the header counts the
// records and the blocks.
void appendBlocks(const QString &path, int headerSize, int blockSize, int recordSize, int records, QByteArray blocks) {
    const int perBlock = (blockSize - 6) / recordSize;
    const int count = (records + perBlock - 1) / perBlock;
    for (int b = 0; b < count; ++b) {
        const int inBlock = std::min(perBlock, records - b * perBlock);
        put16(blocks, qsizetype(b) * blockSize, b + 1 < count ? b + 2 : 0);
        put16(blocks, qsizetype(b) * blockSize + 2, b);
        put16(blocks, qsizetype(b) * blockSize + 4, (inBlock - 1) * recordSize);
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        fail("opening the table", path);
    QByteArray head = f.read(headerSize);
    f.resize(headerSize);
    for (int i = 0; i < 4; ++i)
        head[6 + i] = char((records >> (8 * i)) & 0xFF);
    put16(head, 0x0A, count);
    put16(head, 0x0C, count);
    put16(head, 0x0E, 1);
    put16(head, 0x10, count);
    if (!f.seek(0) || f.write(head) != head.size() || f.write(blocks) != blocks.size())
        fail("writing the data blocks", path);
}

}  // namespace

QVector<PxColumn> paradoxColumns(const data::TableDef &def) {
    QVector<PxColumn> cols;
    for (const data::FieldDef &f : def.fields) {
        switch (f.type) {
        case data::FieldType::Text: cols << PxColumn{f.name, px::Alpha, f.size > 0 ? f.size : 255}; break;
        case data::FieldType::Memo: cols << PxColumn{f.name, px::Memo, 40}; break;
        case data::FieldType::SmallInt: cols << PxColumn{f.name, px::Short, 2}; break;
        case data::FieldType::Integer: cols << PxColumn{f.name, px::Long, 4}; break;
        case data::FieldType::AutoInc: cols << PxColumn{f.name, px::AutoInc, 4}; break;
        case data::FieldType::Float: cols << PxColumn{f.name, px::Number, 8}; break;
        case data::FieldType::Currency: cols << PxColumn{f.name, px::Currency, 8}; break;
        case data::FieldType::Date: cols << PxColumn{f.name, px::Date, 4}; break;
        case data::FieldType::Boolean: cols << PxColumn{f.name, px::Logical, 1}; break;
        }
    }
    return cols;
}

void writeParadoxTable(const QString &path, const PxTableContents &contents) {
    QFile::remove(path);
    pxdoc_t *doc = PX_new3(onError, nullptr, nullptr, nullptr, nullptr);
    const int n = int(contents.columns.size());
    auto *fields = static_cast<pxfield_t *>(std::calloc(size_t(n), sizeof(pxfield_t)));  // pxlib takes them over
    QList<QByteArray> names;
    bool memo = false;
    for (int i = 0; i < n; ++i) {
        fields[i].px_fname = strdup(contents.columns[i].name.toLatin1().constData());
        fields[i].px_ftype = char(contents.columns[i].type);
        fields[i].px_flen = contents.columns[i].length;
        memo = memo || contents.columns[i].type == px::Memo;
    }
    const QByteArray file = QFile::encodeName(path);
    if (PX_create_file(doc, fields, n, file.constData(), contents.keyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB) < 0)
        fail("PX_create_file", path);
    PX_set_value(doc, "codepage", float(contents.codePage));
    if (contents.keyFields > 0)
        PX_set_value(doc, "numprimkeys", float(contents.keyFields));
    const QString mbPath = QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".MB"));
    if (memo && PX_set_blob_file(doc, QFile::encodeName(mbPath).constData()) < 0)
        fail("PX_set_blob_file", mbPath);

    QByteArray record(PX_get_recordsize(doc), '\0');
    int position = 0;
    QByteArray blocks;  // with ownBlocks: the data blocks, appended after the header
    const int blockSize = doc->px_head->px_maxtablesize * 1024;
    const int perBlock = (blockSize - 6) / int(record.size());
    for (const QVariantMap &row : contents.rows) {
        if (!memo) {
            // Without memos a record is laid out here and put at its place:
            // pxlib's insert looks for a free place from the start of the
            // file each time, too slow for the large tables of a benchmark.
            record.fill('\0');
            char *data = record.data();
            for (int i = 0; i < n; ++i) {
                const PxColumn &c = contents.columns[i];
                const QVariant value = row.value(c.name);
                if (value.isValid() && !value.isNull()) {
                    switch (c.type) {
                    case px::Alpha: {
                        QByteArray text = encode(value.toString(), contents.codePage);
                        PX_put_data_alpha(doc, data, c.length, text.data());
                        break;
                    }
                    case px::Date: PX_put_data_long(doc, data, 4, int(value.toDate().toJulianDay() - 1721425)); break;
                    case px::Short: PX_put_data_short(doc, data, 2, short(value.toInt())); break;
                    case px::Long:
                    case px::AutoInc: PX_put_data_long(doc, data, 4, value.toInt()); break;
                    case px::Logical: PX_put_data_byte(doc, data, 1, value.toBool() ? 1 : 0); break;
                    default: PX_put_data_double(doc, data, 8, value.toDouble()); break;
                    }
                }
                data += c.length;
            }
            if (contents.ownBlocks) {
                if (position % perBlock == 0)
                    blocks.append(QByteArray(blockSize, '\0'));
                blocks.replace(qsizetype(position / perBlock) * blockSize + 6 + (position % perBlock) * record.size(),
                               record.size(), record);
                ++position;
                continue;
            }
            if (PX_put_recordn(doc, record.data(), position++) < 0)
                fail("PX_put_recordn", path);
            continue;
        }
        std::vector<pxval_t *> vals(static_cast<size_t>(n), nullptr);
        std::vector<QByteArray> keep;
        keep.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            MAKE_PXVAL(doc, vals[size_t(i)]);
            pxval_t *v = vals[size_t(i)];
            const PxColumn &c = contents.columns[i];
            v->type = c.type;
            const QVariant value = row.value(c.name);
            if (!value.isValid() || value.isNull()) {
                v->isnull = 1;
                continue;
            }
            switch (c.type) {
            case px::Alpha:
            case px::Memo:
                keep.push_back(encode(value.toString(), contents.codePage));
                v->value.str.val = keep.back().data();
                v->value.str.len = int(keep.back().size());
                break;
            case px::Date: v->value.lval = long(value.toDate().toJulianDay() - 1721425); break;
            case px::Short:
            case px::Long:
            case px::AutoInc: v->value.lval = long(value.toLongLong()); break;
            case px::Logical: v->value.lval = value.toBool() ? 1 : 0; break;
            default: v->value.dval = value.toDouble(); break;
            }
        }
        if (PX_insert_record(doc, vals.data()) < 0)
            fail("PX_insert_record", path);
        for (pxval_t *v : vals)
            doc->free(doc, v);
    }

    if (contents.keyFields > 0) {
        // The primary index. pxlib 0.6.8 writes the index file with the file
        // type of a table (0) in its header; Paradox and the migration expect
        // 1, so the byte is corrected after writing.
        const QString pxPath = QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".PX"));
        pxdoc_t *index = PX_new3(onError, nullptr, nullptr, nullptr, nullptr);
        auto *keys = static_cast<pxfield_t *>(std::calloc(size_t(contents.keyFields + 3), sizeof(pxfield_t)));
        for (int i = 0; i < contents.keyFields; ++i) {
            keys[i].px_fname = strdup(contents.columns[i].name.toLatin1().constData());
            keys[i].px_ftype = char(contents.columns[i].type);
            keys[i].px_flen = contents.columns[i].length;
        }
        for (int i = 0; i < 3; ++i) {
            keys[contents.keyFields + i].px_fname = strdup(i == 0 ? "blk" : i == 1 ? "cnt" : "res");
            keys[contents.keyFields + i].px_ftype = pxfShort;
            keys[contents.keyFields + i].px_flen = 2;
        }
        if (PX_create_file(index, keys, contents.keyFields + 3, QFile::encodeName(pxPath).constData(), pxfFileTypPrimIndex) < 0)
            fail("PX_create_file (index)", pxPath);
        PX_set_value(index, "numprimkeys", float(contents.keyFields));
        PX_write_primary_index(doc, index);
        PX_close(index);
        PX_delete(index);
        QFile f(pxPath);
        if (!f.open(QIODevice::ReadWrite) || !f.seek(4) || f.write("\x01", 1) != 1)
            fail("correcting the index file type", pxPath);
    }
    const int headerSize = doc->px_head->px_headersize;
    PX_close(doc);
    PX_delete(doc);
    if (contents.ownBlocks && position > 0)
        appendBlocks(path, headerSize, blockSize, int(record.size()), position, blocks);
}

}  // namespace varnel::test
