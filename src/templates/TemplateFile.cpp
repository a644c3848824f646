#include "templates/TemplateFile.h"

#include "templates/Rtf.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace varnel::templates {

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

TemplateFileError tooLarge(const QString &path) {
    return TemplateFileError(QStringLiteral("Plik %1 jest zbyt duży, by mógł być wzorcem wydruku.").arg(shown(path)));
}

}  // namespace

QString decodePlainText(const QByteArray &data) {
    QString text;
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(data);
        if (utf8.hasError()) {
            QStringDecoder cp1250("windows-1250", QStringDecoder::Flag::Stateless);
            text = cp1250.isValid() ? cp1250.decode(data) : QString::fromLatin1(data);
        }
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QStringList textLines(const QString &text) {
    if (text.isEmpty())
        return {};
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

RichText plainTextDocument(const QString &text) {
    RichText doc;
    for (QString line : textLines(text)) {
        // Characters a document cannot hold in a line (NUL, other controls).
        line.removeIf([](QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\t'); });
        Paragraph p;
        p.append(line, CharStyle());
        doc.blocks.emplace_back(std::move(p));
    }
    return doc;
}

RichText parseTemplate(const QByteArray &data, const QString &fileName) {
    if (isRtf(data)) {
        RtfReadResult r = readRtf(data);
        if (r.truncated)
            throw tooLarge(fileName);
        return std::move(r.text);
    }
    const QString text = decodePlainText(data);
    if (text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')) >= RtfReadLimits::MaxParagraphs)
        throw tooLarge(fileName);
    return plainTextDocument(text);
}

RichText readTemplateFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TemplateFileError(
            QStringLiteral("Nie można otworzyć pliku %1: %2").arg(shown(path), file.errorString()));
    if (file.size() > MaxTemplateFileSize)
        throw tooLarge(path);
    const QByteArray data = file.read(MaxTemplateFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw TemplateFileError(
            QStringLiteral("Nie można odczytać pliku %1: %2").arg(shown(path), file.errorString()));
    if (data.size() > MaxTemplateFileSize)
        throw tooLarge(path);
    return parseTemplate(data, path);
}

void writeTemplateFile(const QString &path, const RichText &text) {
    QSaveFile file(path);
    const QByteArray data = writeRtf(text);
    auto fail = [&] {
        return TemplateFileError(
            QStringLiteral("Nie można zapisać pliku %1: %2").arg(shown(path), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        throw fail();
    if (file.write(data) != data.size())
        throw fail();
    if (!file.commit())
        throw fail();
}

}  // namespace varnel::templates
