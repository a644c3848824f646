#include "lists/TemplateEditing.h"

#include "lists/ListItems.h"

namespace varnel::lists {

namespace {

QString offeredFace(const QStringList &faces, const QString &face) {
    if (face.isEmpty())
        return QString();
    for (const QString &f : faces)
        if (f.compare(face, Qt::CaseInsensitive) == 0)
            return f;
    return QString();
}

}  // namespace

ToolBarLoading loadToolBar(const ListFont &font, const QStringList &faces, const FaceSubstitute &substitute) {
    ToolBarLoading r;
    r.state.bold = font.bold;
    r.state.italic = font.italic;
    r.state.underline = font.underline;

    // The descriptor's two digits are read as a number already, so "08" is
    // looked up as 8.
    if (offeredFontSizes().contains(font.size)) {
        r.state.size = font.size;
    } else {
        r.messages << NoSuchFontSize;
        r.state.size = 10;
    }

    QString face = offeredFace(faces, font.name);
    if (face.isEmpty() && substitute && !font.name.isEmpty())
        face = offeredFace(faces, substitute(font.name));
    if (face.isEmpty()) {
        r.messages << NoSuchFontFace;
        face = faces.value(0);
    }
    r.state.face = face;
    return r;
}

ListFont fontOf(const ToolBarState &s) { return ListFont{s.face, s.size, s.bold, s.italic, s.underline}; }

ListColumn newColumn(const QString &item) {
    return ListColumn{item, 20, isSummable(item) ? QStringLiteral("-") : QString()};
}

QString toggleSum(ListColumn &c) {
    if (!isSummable(c.name))
        return QStringLiteral("Nie można sumować wg pola: ") + c.name;
    c.sum = c.sum == QLatin1String("+") ? QStringLiteral("-") : QStringLiteral("+");
    return QString();
}

QString parseColumnWidth(const QString &text, int *width) {
    bool ok = false;
    const int w = text.trimmed().toInt(&ok);
    if (!ok || w < 1 || w > MaxColumnWidth)
        return QStringLiteral("Długość kolumny musi być liczbą całkowitą od 1 do %1 (znaków); wpisano „%2”.")
            .arg(MaxColumnWidth)
            .arg(text);
    *width = w;
    return QString();
}

}  // namespace varnel::lists
