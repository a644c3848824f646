#include "lists/ListTemplate.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace varnel::lists {

namespace {

struct Spacing {
    const char *label;
    const char *factor;
};
const Spacing Spacings[SpacingCount] = {
    {"0 linii", "0"},     {"1/4 linii", "0.25"}, {"1/3 linii", "0.333"},    {"1/2 linii", "0.5"},
    {"2/3 linii", "0.66"}, {"1 linia", "1"},      {"1 i 1/2 linii", "1.5"},
};

const char *const Cp1250 = "windows-1250";

QString decode(const QByteArray &bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder cp(Cp1250);
    return cp.decode(bytes);
}

QByteArray encode(const QString &text) {
    QStringEncoder cp(Cp1250);
    const QByteArray bytes = cp.encode(text);
    if (!cp.hasError() && QStringDecoder(Cp1250).decode(bytes) == QString(text))
        return bytes;
    return text.toUtf8();
}

// Reads lines one by one and names the line in a message.
class Lines {
public:
    explicit Lines(const QString &text) {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        m_lines = t.split(QLatin1Char('\n'));
        // The last line ends in CR LF too; blank lines after it are ignored.
        while (!m_lines.isEmpty() && m_lines.last().trimmed().isEmpty())
            m_lines.removeLast();
    }
    bool atEnd() const { return m_next >= m_lines.size(); }
    // Past the end a line reads empty, as it did in the old program.
    QString next() { return m_next < m_lines.size() ? m_lines[m_next++] : (++m_next, QString()); }
    int number() const { return int(m_next); }  // of the line read last, from 1

private:
    QStringList m_lines;
    qsizetype m_next = 0;
};

QString lineMessage(const QString &path, int line, const QString &what) {
    return QStringLiteral("Zbiór: %1, wiersz %2: %3").arg(path).arg(line).arg(what);
}

bool readSpacing(Lines &lines, const QString &path, int *spacing, QString *error) {
    const QString text = lines.next();
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    if (!ok || index < 0 || index >= SpacingCount) {
        *error = lineMessage(path, lines.number(),
                             QStringLiteral("indeks odstępu „%1” nie jest liczbą od 0 do 6.").arg(text));
        return false;
    }
    *spacing = index;
    return true;
}

bool readColumn(const QString &line, ListColumn *column) {
    static const QRegularExpression form(QStringLiteral("^\\s*(-?\\d+)\\s*/(.)/(.+)$"));
    const QRegularExpressionMatch m = form.match(line);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const int width = m.captured(1).toInt(&ok);
    if (!ok || width < -32768 || width > 32767 || m.captured(3).size() > 30)
        return false;
    column->width = width;
    column->sum = m.captured(2) == QLatin1String("N") ? QString() : m.captured(2);
    column->name = m.captured(3);
    return true;
}

}  // namespace

QString spacingLabel(int index) {
    return index >= 0 && index < SpacingCount ? QString::fromUtf8(Spacings[index].label) : QString();
}

double spacingFactor(int index) {
    return index >= 0 && index < SpacingCount ? QString::fromLatin1(Spacings[index].factor).toDouble() : 0.0;
}

QStringList spacingLabels() {
    QStringList labels;
    for (int i = 0; i < SpacingCount; ++i)
        labels << spacingLabel(i);
    return labels;
}

QVector<int> offeredFontSizes() { return {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}; }

QString fontDescriptor(const ListFont &font) {
    QString s;
    s += QLatin1Char(font.bold ? 'B' : 'b');
    s += QLatin1Char(font.italic ? 'I' : 'i');
    s += QLatin1Char(font.underline ? 'U' : 'u');
    // Exactly two digits: a size outside them cannot be written.
    s += QStringLiteral("%1").arg(qBound(0, font.size, 99), 2, 10, QLatin1Char('0'));
    return s + font.name;
}

bool parseFontDescriptor(const QString &line, ListFont *font) {
    if (line.size() < 4 || line.left(3).toUpper() != QLatin1String("BIU"))
        return false;
    font->bold = line[0] == QLatin1Char('B');
    font->italic = line[1] == QLatin1Char('I');
    font->underline = line[2] == QLatin1Char('U');
    bool ok = false;
    const int size = line.mid(3, 2).trimmed().toInt(&ok);
    font->size = ok && size > 0 ? size : 0;
    font->name = line.mid(5);
    return true;
}

QByteArray writeListTemplate(const ListTemplate &t) {
    // Header lines are single lines; a line break inside one makes two.
    const QStringList header = t.headerLines.join(QLatin1Char('\n')).split(QLatin1Char('\n'));
    QStringList lines;
    lines << fontDescriptor(t.headerFont) << QString::number(t.headerSpacing);
    if (t.headerLines.isEmpty()) {
        lines << QStringLiteral("0");
    } else {
        lines << QString::number(header.size());
        for (const QString &h : header) {
            QString line = h;
            line.remove(QLatin1Char('\r'));
            lines << line;
        }
    }
    lines << fontDescriptor(t.rowFont) << QString::number(t.rowSpacing);
    for (const ListColumn &c : t.columns)
        lines << QStringLiteral("%1/%2/%3").arg(c.width).arg(c.sum.isEmpty() ? QStringLiteral("N") : c.sum.left(1), c.name);
    QString text;
    for (const QString &l : lines)
        text += l + QLatin1String("\r\n");
    return encode(text);
}

QString notAListTemplateMessage(const QString &path) {
    return QStringLiteral("Zbiór: %1 nie zawiera opisu listy!!").arg(path);
}

ListTemplateReading readListTemplate(const QByteArray &bytes, const QString &path) {
    ListTemplateReading r;
    Lines lines(decode(bytes));

    // The header part.
    ListTemplate t;
    if (!parseFontDescriptor(lines.next(), &t.headerFont)) {
        r.error = notAListTemplateMessage(path);
        return r;
    }
    if (!readSpacing(lines, path, &t.headerSpacing, &r.error))
        return r;
    const QString count = lines.next();
    bool ok = false;
    const int n = count.trimmed().toInt(&ok);
    if (!ok || n < 0) {
        r.error = lineMessage(path, lines.number(),
                              QStringLiteral("liczba wierszy nagłówka „%1” nie jest liczbą całkowitą.").arg(count));
        return r;
    }
    for (int i = 0; i < n; ++i) {
        if (lines.atEnd()) {
            r.error = lineMessage(path, lines.number() + 1,
                                  QStringLiteral("plik kończy się przed ostatnim z %1 wierszy nagłówka.").arg(n));
            return r;
        }
        t.headerLines << lines.next();
    }
    r.tmpl.headerFont = t.headerFont;
    r.tmpl.headerSpacing = t.headerSpacing;
    r.tmpl.headerLines = t.headerLines;
    r.read = ListTemplateReading::Read::Header;

    // The rows part.
    if (!parseFontDescriptor(lines.next(), &t.rowFont)) {
        r.error = notAListTemplateMessage(path);
        return r;
    }
    if (!readSpacing(lines, path, &t.rowSpacing, &r.error))
        return r;
    while (!lines.atEnd()) {
        const QString line = lines.next();
        ListColumn c;
        if (!readColumn(line, &c)) {
            r.error = lineMessage(path, lines.number(),
                                  QStringLiteral("„%1” nie jest opisem kolumny w postaci długość/znak/nazwa "
                                                 "(nazwa do 30 znaków).")
                                      .arg(line));
            return r;
        }
        t.columns << c;
    }
    r.tmpl = t;
    r.read = ListTemplateReading::Read::Whole;
    return r;
}

ListTemplateReading readListTemplateFile(const QString &path) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        ListTemplateReading r;
        r.error = QStringLiteral("Nie można odczytać pliku %1: %2").arg(path, file.errorString());
        r.fileError = true;
        return r;
    }
    return readListTemplate(bytes, path);
}

QString writeListTemplateFile(const QString &path, const ListTemplate &t) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writeListTemplate(t)) < 0 || !file.commit())
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, file.errorString());
    return QString();
}

}  // namespace varnel::lists
