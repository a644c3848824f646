#include "register/RegisterRules.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace varnel::reg {

const QStringList &monthNames() {
    static const QStringList names = {
        QStringLiteral("styczeń"),  QStringLiteral("luty"),     QStringLiteral("marzec"),
        QStringLiteral("kwiecień"), QStringLiteral("maj"),      QStringLiteral("czerwiec"),
        QStringLiteral("lipiec"),   QStringLiteral("sierpień"), QStringLiteral("wrzesień"),
        QStringLiteral("październik"), QStringLiteral("listopad"), QStringLiteral("grudzień"),
    };
    return names;
}

QString monthName(int month) { return month >= 1 && month <= 12 ? monthNames()[month - 1] : QStringLiteral("?"); }

namespace {
std::optional<int> number(const QString &text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}
}  // namespace

ArchiveMonth decodeArchiveName(const QString &tableName) {
    ArchiveMonth m;
    m.monthText = tableName.mid(2, 2);
    m.yearText = tableName.mid(4, 4);
    m.month = number(m.monthText);
    m.year = number(m.yearText);
    return m;
}

RegisterCaption registerCaption(const QString &currentTableName) {
    RegisterCaption c;
    if (currentTableName.compare(QLatin1String("Aktualne"), Qt::CaseInsensitive) == 0) {
        c.caption = QStringLiteral("Wnioski bieżące");
        return c;
    }
    c.archive = true;
    const ArchiveMonth m = decodeArchiveName(currentTableName);
    c.monthText = m.monthText;
    c.badMonth = !m.month.has_value();
    const QString name = c.badMonth ? QString() : monthName(*m.month);
    c.caption = QStringLiteral("Archiwum: ") + name + QLatin1Char(' ') + m.yearText;
    return c;
}

QString indexForOrder(SortOrder order) {
    switch (order) {
    case SortOrder::Nazwiska: return QStringLiteral("NazwNdx");
    case SortOrder::NrDec: return QStringLiteral("NrDecNdx");
    case SortOrder::Adres: return QStringLiteral("AdresNdx");
    case SortOrder::Kwota: return QStringLiteral("WyplataNdx");
    case SortOrder::Primary: return QString();
    }
    return QString();
}

std::optional<SearchKey> searchKeyFor(SortOrder order, const QString &text, int sortAlgorithm) {
    switch (order) {
    case SortOrder::Nazwiska: return SearchKey{QStringLiteral("Nazwisko"), text};
    case SortOrder::Adres: return SearchKey{QStringLiteral("Adres_miejsc"), text};
    case SortOrder::NrDec: {
        if (sortAlgorithm != 2)
            return SearchKey{QStringLiteral("IndexNrSupport"), text};
        QString padded = text;
        while (padded.size() < 10)
            padded.prepend(QLatin1Char('0'));
        return SearchKey{QStringLiteral("IndexNrSupport"), padded};
    }
    case SortOrder::Kwota: return std::nullopt;
    case SortOrder::Primary: {
        if (text.size() > 10 || (!text.isEmpty() && text.toLongLong() > std::numeric_limits<qint32>::max()))
            return SearchKey{QStringLiteral("NrEw"), QString::number(std::numeric_limits<qint32>::max())};
        return SearchKey{QStringLiteral("NrEw"), text};
    }
    }
    return std::nullopt;
}

bool searchTextFits(SortOrder order, const QString &text) {
    if (order != SortOrder::Primary)
        return true;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

QString nazwIm(const QString &nazwisko, const QString &imie) {
    return (nazwisko + QLatin1Char(' ') + imie).left(20);
}

QString adres(const QString &miejsc, const QString &ulica, const QString &nr) {
    return (miejsc + QLatin1Char(' ') + ulica + QLatin1Char(' ') + nr).left(20);
}

QVector<int> fitColumns(QVector<int> widths, int nameColumn, int addressColumn, int charPixels, int gridWidth) {
    auto total = [&] { return std::accumulate(widths.begin(), widths.end(), 0) * charPixels; };
    const int limit = gridWidth - 50;
    if (charPixels <= 0)
        return widths;
    if (total() < limit) {
        while (total() < limit) {
            ++widths[nameColumn];
            ++widths[addressColumn];
        }
        return widths;
    }
    while (total() > limit) {
        bool shrunk = false;
        for (int c : {nameColumn, addressColumn}) {
            if (widths[c] > 20) {
                --widths[c];
                shrunk = true;
            }
        }
        if (!shrunk)
            break;
    }
    return widths;
}

}  // namespace varnel::reg
