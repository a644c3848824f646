#include "templates/RichText.h"

#include <algorithm>

namespace varnel::templates {

QString Paragraph::text() const {
    QString out;
    for (const TextRun &r : runs)
        out += r.text;
    return out;
}

void Paragraph::append(const QString &text, const CharStyle &style) {
    if (text.isEmpty())
        return;
    if (!runs.empty() && runs.back().style == style)
        runs.back().text += text;
    else
        runs.push_back(TextRun{text, style});
}

int TextTable::columnCount() const {
    size_t n = 0;
    for (const TableRow &r : rows)
        n = std::max(n, r.cells.size());
    return static_cast<int>(n);
}

QString RichText::plainText() const {
    QString out;
    for (const Block &b : blocks) {
        if (const Paragraph *p = std::get_if<Paragraph>(&b)) {
            out += p->text();
            out += QLatin1Char('\n');
            continue;
        }
        for (const TableRow &row : std::get<TextTable>(b).rows)
            for (const TableCell &cell : row.cells)
                for (const Paragraph &p : cell.paragraphs) {
                    out += p.text();
                    out += QLatin1Char('\n');
                }
    }
    return out;
}

}  // namespace varnel::templates
