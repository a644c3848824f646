// The RTF writer of decision templates. Our own code: no packaged C++ RTF
// library fits (see Rtf.h). It writes a plain subset that Word, LibreOffice
// and the reader of this program open alike: one group per run with every
// character property spelled out, \pard\plain before every paragraph, cell
// borders and boundaries on every row.

#include "templates/Rtf.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace varnel::templates {

namespace {

// Text width of an A4 page with the margins written below, in twips: the
// width tables are spread over when their cells give no boundaries.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;
constexpr int Margin = 1417;  // 2.5 cm
constexpr int TextWidth = DefaultTextWidth;
static_assert(DefaultTextWidth == PageWidth - 2 * Margin);

// The Windows-1250 byte of each character the code page holds (above 0x7F).
const std::map<char16_t, unsigned char> &cp1250Bytes() {
    static const std::map<char16_t, unsigned char> map = [] {
        std::map<char16_t, unsigned char> m;
        QStringDecoder dec("windows-1250", QStringDecoder::Flag::Stateless);
        if (!dec.isValid())
            return m;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char byte = static_cast<char>(b);
            const QString s = dec.decode(QByteArrayView(&byte, 1));
            if (s.size() != 1)
                continue;
            const char16_t u = s.at(0).unicode();
            if (u == 0xFFFD || u < 0xA0)
                continue;  // bytes the code page leaves undefined, and the C1 controls
            m.emplace(u, static_cast<unsigned char>(b));
        }
        return m;
    }();
    return map;
}

void appendHex(QByteArray &out, unsigned char b) {
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[b >> 4];
    out += digits[b & 15];
}

// Text in RTF: ASCII as it is (with \ { } escaped), Windows-1250 letters as
// \'xx, anything else as \uN with a "?" fallback.
void appendText(QByteArray &out, const QString &text) {
    const auto &cp = cp1250Bytes();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        switch (u) {
        case '\\':
            out += "\\\\";
            continue;
        case '{':
            out += "\\{";
            continue;
        case '}':
            out += "\\}";
            continue;
        case '\t':
            out += "\\tab ";
            continue;
        case 0x2028:
        case 0x2029:
        case '\n':
            out += "\\line ";
            continue;
        case 0x00A0:
            out += "\\~";
            continue;
        case 0x00AD:
            out += "\\-";
            continue;
        case 0x2011:
            out += "\\_";
            continue;
        case 0xFFFC:
            continue;  // an object (an image) the templates do not keep
        default:
            break;
        }
        if (u < 0x20)
            continue;
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        const auto it = cp.find(u);
        if (it != cp.end()) {
            appendHex(out, it->second);
            continue;
        }
        // \uN takes a signed 16-bit number; a character beyond the basic
        // plane is written as its two surrogates.
        out += "\\u";
        out += QByteArray::number(u > 32767 ? static_cast<int>(u) - 65536 : static_cast<int>(u));
        out += '?';
    }
}

QByteArray twips(const char *word, int value) {
    QByteArray w = "\\";
    w += word;
    w += QByteArray::number(value);
    return w;
}

class Writer {
public:
    explicit Writer(const RichText &text) : m_text(text) {
        fontIndex(text.defaultFont.isEmpty() ? QStringLiteral("Times New Roman") : text.defaultFont);
        for (const Block &b : text.blocks) {
            if (const Paragraph *p = std::get_if<Paragraph>(&b)) {
                collect(*p);
                continue;
            }
            for (const TableRow &row : std::get<TextTable>(b).rows)
                for (const TableCell &cell : row.cells)
                    for (const Paragraph &p : cell.paragraphs)
                        collect(p);
        }
    }

    QByteArray write() {
        QByteArray out;
        out += "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1\n";
        out += "{\\fonttbl";
        for (size_t i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(static_cast<int>(i)) + "\\fnil\\fcharset238 ";
            QString name = m_fonts[i];
            name.remove(QLatin1Char(';'));
            appendText(out, name);
            out += ";}";
        }
        out += "}\n{\\colortbl;";
        for (quint32 c : m_colors)
            out += "\\red" + QByteArray::number((c >> 16) & 255) + "\\green" + QByteArray::number((c >> 8) & 255) +
                   "\\blue" + QByteArray::number(c & 255) + ";";
        out += "}\n";
        out += twips("paperw", PageWidth) + twips("paperh", PageHeight) + twips("margl", Margin) +
               twips("margr", Margin) + twips("margt", Margin) + twips("margb", Margin) + "\\viewkind4\n";
        for (const Block &b : m_text.blocks) {
            if (const Paragraph *p = std::get_if<Paragraph>(&b))
                paragraph(out, *p, false, "\\par");
            else
                table(out, std::get<TextTable>(b));
        }
        out += "}\n";
        return out;
    }

private:
    int fontIndex(const QString &family) {
        const auto it = std::find(m_fonts.begin(), m_fonts.end(), family);
        if (it != m_fonts.end())
            return static_cast<int>(it - m_fonts.begin());
        m_fonts.push_back(family);
        return static_cast<int>(m_fonts.size() - 1);
    }

    // The colour-table index of a colour; 0 is the automatic colour.
    int colorIndex(const std::optional<quint32> &color) {
        if (!color)
            return 0;
        const auto it = std::find(m_colors.begin(), m_colors.end(), *color & 0xFFFFFF);
        if (it != m_colors.end())
            return static_cast<int>(it - m_colors.begin()) + 1;
        m_colors.push_back(*color & 0xFFFFFF);
        return static_cast<int>(m_colors.size());
    }

    void collect(const Paragraph &p) {
        auto one = [this](const CharStyle &s) {
            if (!s.font.isEmpty())
                fontIndex(s.font);
            colorIndex(s.color);
        };
        for (const TextRun &r : p.runs)
            one(r.style);
        one(p.markStyle);
    }

    QByteArray style(const CharStyle &s) {
        QByteArray out;
        out += "\\f" + QByteArray::number(fontIndex(s.font.isEmpty() ? m_fonts.front() : s.font));
        const double pt = s.pointSize > 0 ? s.pointSize : m_text.defaultPointSize;
        out += "\\fs" + QByteArray::number(std::clamp(static_cast<int>(std::lround(pt * 2)), 2, 3276));
        if (s.bold)
            out += "\\b";
        if (s.italic)
            out += "\\i";
        if (s.underline)
            out += "\\ul";
        if (s.strike)
            out += "\\strike";
        if (s.vertical > 0)
            out += "\\super";
        else if (s.vertical < 0)
            out += "\\sub";
        if (const int c = colorIndex(s.color))
            out += "\\cf" + QByteArray::number(c);
        return out;
    }

    void paragraph(QByteArray &out, const Paragraph &p, bool inTable, const char *end) {
        out += "\\pard\\plain";
        if (inTable)
            out += "\\intbl";
        switch (p.alignment) {
        case Alignment::Left: out += "\\ql"; break;
        case Alignment::Center: out += "\\qc"; break;
        case Alignment::Right: out += "\\qr"; break;
        case Alignment::Justify: out += "\\qj"; break;
        }
        if (p.leftIndent)
            out += twips("li", p.leftIndent);
        if (p.rightIndent)
            out += twips("ri", p.rightIndent);
        if (p.firstLineIndent)
            out += twips("fi", p.firstLineIndent);
        if (p.spaceBefore)
            out += twips("sb", p.spaceBefore);
        if (p.spaceAfter)
            out += twips("sa", p.spaceAfter);
        if (p.pageBreakBefore)
            out += "\\pagebb";
        out += '\n';
        for (const TextRun &r : p.runs) {
            out += '{';
            out += style(r.style);
            out += ' ';
            appendText(out, r.text);
            out += "}";
        }
        // The mark keeps the look of the paragraph's end: the height of an
        // empty line.
        out += style(p.markStyle);
        out += end;
        out += '\n';
    }

    void table(QByteArray &out, const TextTable &t) {
        const int columns = std::max(t.columnCount(), 1);
        for (const TableRow &row : t.rows) {
            out += "\\trowd\\trgaph108\\trleft0\n";
            int previous = 0;
            for (int c = 0; c < columns; ++c) {
                int right = c < static_cast<int>(row.cells.size()) ? row.cells[static_cast<size_t>(c)].rightBoundary : 0;
                if (right <= previous)
                    right = previous + std::max(TextWidth - previous, 0) / std::max(columns - c, 1);
                if (right <= previous)
                    right = previous + 1;
                if (t.borders)
                    out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                           "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
                out += twips("cellx", right);
                previous = right;
            }
            out += '\n';
            for (int c = 0; c < columns; ++c) {
                if (c >= static_cast<int>(row.cells.size()) || row.cells[static_cast<size_t>(c)].paragraphs.empty()) {
                    out += "\\pard\\plain\\intbl" + style(CharStyle()) + "\\cell\n";
                    continue;
                }
                const auto &paras = row.cells[static_cast<size_t>(c)].paragraphs;
                for (size_t i = 0; i < paras.size(); ++i)
                    paragraph(out, paras[i], true, i + 1 == paras.size() ? "\\cell" : "\\par");
            }
            out += "\\row\n";
        }
        // A table ends the paragraph properties of its rows.
        out += "\\pard\\plain\n";
    }

    const RichText &m_text;
    std::vector<QString> m_fonts;
    std::vector<quint32> m_colors;
};

}  // namespace

QByteArray writeRtf(const RichText &text) { return Writer(text).write(); }

}  // namespace varnel::templates
