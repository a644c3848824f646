#include "data/Collation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <cstring>
#include <stdexcept>

namespace varnel::data {

namespace {

// ICU's Polish rules at secondary strength: letters with diacritics are
// letters of their own (a < ą < b), capitals equal small letters. ICU is
// used directly because it compares UTF-8 as SQLite hands it over, with no
// conversion per comparison; index builds make millions of comparisons.
UCollator *polishCollator() {
    static UCollator *collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *c = ucol_open("pl", &status);
        if (U_FAILURE(status))
            throw std::runtime_error("ICU: Polish collation is not available");
        ucol_setStrength(c, UCOL_SECONDARY);
        return c;
    }();
    return collator;
}

int sqliteCompare(void *, int aLength, const void *a, int bLength, const void *b) {
    return comparePolish(static_cast<const char *>(a), aLength, static_cast<const char *>(b), bLength);
}

}  // namespace

int comparePolish(const char *a, int aLength, const char *b, int bLength) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(polishCollator(), a, aLength, b, bLength, &status);
    if (U_FAILURE(status)) {
        // Malformed UTF-8 cannot come from the program; order it bytewise.
        const int n = std::min(aLength, bLength);
        const int c = std::memcmp(a, b, static_cast<size_t>(n));
        return c != 0 ? c : aLength - bLength;
    }
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

int comparePolish(const QString &a, const QString &b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return comparePolish(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

void registerPolishCollation(sqlite3 *db) {
    sqlite3_create_collation_v2(db, PolishCollationName, SQLITE_UTF8, nullptr, sqliteCompare, nullptr);
}

}  // namespace varnel::data
