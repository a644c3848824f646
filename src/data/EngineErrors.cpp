#include "data/EngineErrors.h"

#include "core/DbError.h"

#include <QFile>
#include <sqlite3.h>

namespace varnel::data {

QString engineFailureText(int resultCode, const QString &engineText, const QString &file) {
    const QString where = file.isEmpty() ? QStringLiteral("bazy danych") : file;
    QString polish;
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        polish = QStringLiteral("Baza danych %1 jest zajęta przez inny program (program Varnel na innym stanowisku "
                                "albo polecenie varnel-admin). Spróbuj ponownie, gdy tamten skończy pracę.")
                     .arg(where);
        break;
    case SQLITE_NOTADB:
        polish = QStringLiteral("Plik %1 nie jest bazą danych programu Varnel albo jest uszkodzony. Sprawdź, czy wskazano "
                                "właściwy katalog; uszkodzoną bazę odtwórz z kopii (varnel-admin restore PLIK).")
                     .arg(where);
        break;
    case SQLITE_CORRUPT:
        polish = QStringLiteral("Plik bazy danych %1 jest uszkodzony. Sprawdź go poleceniem varnel-admin check "
                                "i odtwórz bazę z kopii (varnel-admin restore PLIK).")
                     .arg(where);
        break;
    case SQLITE_IOERR:
        polish = QStringLiteral("Błąd odczytu lub zapisu dysku przy pliku %1. Sprawdź dysk (albo połączenie z dyskiem "
                                "sieciowym) i spróbuj ponownie; zmiany tej operacji nie zostały zapisane.")
                     .arg(where);
        break;
    case SQLITE_FULL:
        polish = QStringLiteral("Brak miejsca na dysku dla bazy danych %1. Zwolnij miejsce na dysku i spróbuj ponownie; "
                                "zmiany tej operacji nie zostały zapisane.")
                     .arg(where);
        break;
    case SQLITE_READONLY:
        polish = QStringLiteral("Nie można zapisać bazy danych %1: ten użytkownik nie ma prawa zapisu do pliku bazy "
                                "albo do jego katalogu (potrzebne także do plików -wal i -shm obok niego). "
                                "Sprawdź uprawnienia pliku i katalogu.")
                     .arg(where);
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        polish = QStringLiteral("Nie można otworzyć pliku bazy danych %1: sprawdź, czy istnieje i czy ten użytkownik "
                                "ma prawo odczytu i zapisu do niego i do jego katalogu.")
                     .arg(where);
        break;
    default:
        return engineText;
    }
    return polish + QStringLiteral(" (SQLite: %1)").arg(engineText);
}

void throwEngineFailure(sqlite3 *db, const QString &context) {
    const int code = db ? sqlite3_errcode(db) : SQLITE_NOMEM;
    const QString engineText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    const char *name = db ? sqlite3_db_filename(db, "main") : nullptr;
    const QString file = name ? QFile::decodeName(name) : QString();
    QString message = engineFailureText(code, engineText, file);
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    throw core::DbError(message);
}

}  // namespace varnel::data
