#include "data/Collation.h"

#include "core/DbError.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <cstring>

namespace varnel::data {

namespace {

// ICU's Polish rules at secondary strength: letters with diacritics are
// letters of their own (a < ą < b), capitals equal small letters. ICU is
// used directly because it compares UTF-8 as SQLite hands it over, with no
// conversion per comparison; index builds make millions of comparisons.
//
// The collator is opened once for the process, by the first registration
// on a connection (or the first comparison outside SQLite), and a failure
// is reported there as an engine error; SQLite's callback only uses it.
UCollator *openPolish() {
    UErrorCode status = U_ZERO_ERROR;
    UCollator *c = ucol_open("pl", &status);
    // A fallback to the root rules would order ł after z: no Polish order.
    if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) {
        if (c)
            ucol_close(c);
        throw core::DbError(QStringLiteral("Biblioteka ICU nie zna polskiego porządku alfabetycznego (%1)")
                                .arg(QString::fromLatin1(u_errorName(status))));
    }
    ucol_setStrength(c, UCOL_SECONDARY);
    return c;
}

const UCollator *polishCollator() {
    static const UCollator *collator = openPolish();  // tried again after a failure
    return collator;
}

int compareWith(const UCollator *collator, const char *a, int aLength, const char *b, int bLength) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator, a, aLength, b, bLength, &status);
    if (U_FAILURE(status)) {
        // Malformed UTF-8 cannot come from the program; order it bytewise.
        const int n = std::min(aLength, bLength);
        const int c = std::memcmp(a, b, static_cast<size_t>(n));
        return c != 0 ? c : aLength - bLength;
    }
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

int sqliteCompare(void *collator, int aLength, const void *a, int bLength, const void *b) {
    return compareWith(static_cast<const UCollator *>(collator), static_cast<const char *>(a), aLength,
                       static_cast<const char *>(b), bLength);
}

}  // namespace

int comparePolish(const char *a, int aLength, const char *b, int bLength) {
    return compareWith(polishCollator(), a, aLength, b, bLength);
}

int comparePolish(const QString &a, const QString &b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return comparePolish(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

void registerPolishCollation(sqlite3 *db) {
    const UCollator *collator = polishCollator();
    if (sqlite3_create_collation_v2(db, PolishCollationName, SQLITE_UTF8, const_cast<UCollator *>(collator),
                                    sqliteCompare, nullptr) != SQLITE_OK)
        throw core::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}

}  // namespace varnel::data
