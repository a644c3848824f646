// The RTF reader of decision templates. Our own code: no packaged C++ RTF
// library fits (see Rtf.h). It reads the token stream of the format once,
// front to back, keeping a stack of group states; every loop advances through
// the input, groups deeper than a limit are skipped, and the amount of output
// is bounded, so no input makes it hang or take much memory.

#include "templates/Rtf.h"

#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace varnel::templates {

bool isRtf(const QByteArray &data) { return data.startsWith("{\\rtf"); }

namespace {

using Limits = RtfReadLimits;

// Code page of the Polish Windows workstations; also what \ansi alone means
// for the old templates.
constexpr int DefaultCodePage = 1250;

int clampInt(qint64 v, int lo, int hi) { return static_cast<int>(std::clamp<qint64>(v, lo, hi)); }

// The code page of a font's \fcharset; 0 for "the document's code page".
int codePageOfCharset(int charset) {
    switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 852;  // OEM: the DOS code page of Polish machines
    default: return 0;     // ANSI, default and symbol fonts
    }
}

const char *decoderName(int codePage) {
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1252: return "windows-1252";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

// Decoders by code page, made once per document. An unknown code page reads
// as Windows-1250; should ICU lack a decoder, bytes read as Latin-1.
class Decoders {
public:
    QString decode(int codePage, const QByteArray &bytes) {
        QStringDecoder *d = decoder(codePage);
        if (!d)
            return QString::fromLatin1(bytes);
        return d->decode(bytes);
    }

private:
    QStringDecoder *decoder(int codePage) {
        if (!decoderName(codePage))
            codePage = DefaultCodePage;
        auto it = m_decoders.find(codePage);
        if (it == m_decoders.end()) {
            auto d = std::make_unique<QStringDecoder>(decoderName(codePage), QStringDecoder::Flag::Stateless);
            it = m_decoders.emplace(codePage, d->isValid() ? std::move(d) : nullptr).first;
        }
        return it->second.get();
    }

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

enum class Destination { Text, FontTable, ColorTable, Skip };

struct CharProps {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false;
    int vertical = 0;
    int color = 0;
};

struct ParaProps {
    Alignment alignment = Alignment::Left;
    int left = 0, right = 0, first = 0, before = 0, after = 0;
    bool inTable = false;
    bool pageBreakBefore = false;
};

struct GroupState {
    CharProps chr;
    ParaProps para;
    Destination dest = Destination::Text;
    int uc = 1;  // fallback characters after \uN
};

struct FontEntry {
    QByteArray name;
    bool named = false;  // the name ended with ";"
    int codePage = 0;    // 0: the document's
    QString family;
};

// Words that open a destination whose content is not text of the document.
bool isSkippedDestination(const std::string &w) {
    static const char *const words[] = {
        "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
        "footerr", "footerf", "footnote", "fldinst", "listtable", "listoverridetable", "revtbl", "rsidtbl", "pn",
        "xe", "tc", "nonshppict", "shpinst", "themedata", "colorschememapping", "latentstyles", "datastore",
        "xmlnstbl", "generator", "userprops", "docvar", "template", "filetbl", "pgdsctbl", "atnid", "atnauthor",
        "annotation", "bkmkstart", "bkmkend", "field_data", "fontemb", "fontfile", "mmathPr", "objdata",
        "picprop", "blipuid", "wgrffmtfilter", "pnseclvl", "falt", "panose", "ftnsep", "ftnsepc", "ftncn",
        "aftnsep", "aftnsepc", "aftncn", "private", "operator", "author", "title", "subject", "keywords",
        "comment", "doccomm", "company", "category", "manager", "hlinkbase", "buptim", "creatim", "printim",
        "revtim",
    };
    static const std::unordered_map<std::string, bool> set = [] {
        std::unordered_map<std::string, bool> m;
        for (const char *x : words)
            m.emplace(x, true);
        return m;
    }();
    return set.count(w) != 0;
}

// Named special characters.
char16_t specialCharacter(const std::string &w) {
    static const std::unordered_map<std::string, char16_t> map = {
        {"emdash", 0x2014},   {"endash", 0x2013},    {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},  {"emspace", 0x2003},
        {"enspace", 0x2002},  {"qmspace", 0x2005},   {"zwj", 0x200D},     {"zwnj", 0x200C},
    };
    const auto it = map.find(w);
    return it == map.end() ? 0 : it->second;
}

class Reader {
public:
    explicit Reader(const QByteArray &data)
        : m_p(data.constData()), m_end(data.constData() + data.size()) {}

    RtfReadResult run() {
        // The first group is the document; reading ends when it closes.
        while (m_p < m_end && !m_done)
            step();
        finish();
        RtfReadResult r;
        r.text = std::move(m_out);
        r.truncated = m_truncated;
        return r;
    }

private:
    // ---- tokens -----------------------------------------------------------

    void step() {
        const char c = *m_p++;
        switch (c) {
        case '{':
            openGroup();
            return;
        case '}':
            closeGroup();
            return;
        case '\\':
            controlSequence();
            return;
        case '\r':
        case '\n':
            return;
        default:
            textByte(static_cast<unsigned char>(c));
        }
    }

    void controlSequence() {
        if (m_p >= m_end)
            return;
        const char c = *m_p;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            std::string word;
            while (m_p < m_end && ((*m_p >= 'a' && *m_p <= 'z') || (*m_p >= 'A' && *m_p <= 'Z'))) {
                if (word.size() < 32)
                    word += *m_p;
                ++m_p;
            }
            bool negative = false;
            if (m_p + 1 < m_end && *m_p == '-' && m_p[1] >= '0' && m_p[1] <= '9') {
                negative = true;
                ++m_p;
            }
            bool hasParam = false;
            qint64 value = 0;
            int digits = 0;
            while (m_p < m_end && *m_p >= '0' && *m_p <= '9') {
                hasParam = true;
                if (digits < 10)
                    value = value * 10 + (*m_p - '0');
                ++digits;
                ++m_p;
            }
            if (negative)
                value = -value;
            if (m_p < m_end && *m_p == ' ')
                ++m_p;
            controlWord(word, hasParam, value);
            return;
        }
        ++m_p;
        if (m_skippedDepth > 0) {
            if (c == '\'')
                m_p += std::min<qint64>(2, m_end - m_p);
            return;
        }
        switch (c) {
        case '\'': {
            int hi = m_p < m_end ? hexValue(*m_p) : -1;
            int lo = m_p + 1 < m_end ? hexValue(m_p[1]) : -1;
            if (hi < 0 || lo < 0) {
                if (hi >= 0)
                    ++m_p;
                return;
            }
            m_p += 2;
            escapedByte(static_cast<unsigned char>(hi * 16 + lo));
            return;
        }
        case '\\':
        case '{':
        case '}':
            textByte(static_cast<unsigned char>(c));
            return;
        case '*':
            if (consumeFallback())
                return;
            flushBytes();
            m_state.dest = Destination::Skip;
            return;
        case '~':
            character(0x00A0);
            return;
        case '-':
            character(0x00AD);
            return;
        case '_':
            character(0x2011);
            return;
        case '\r':
        case '\n':
            if (consumeFallback())
                return;
            if (m_state.dest == Destination::Text)
                endParagraph(false);
            return;
        default:
            consumeFallback();  // \: \| and unknown symbols
            return;
        }
    }

    static int hexValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // ---- groups -----------------------------------------------------------

    void openGroup() {
        m_fallback = 0;
        if (m_skippedDepth > 0 || static_cast<int>(m_stack.size()) >= Limits::MaxGroupDepth) {
            ++m_skippedDepth;
            if (m_skippedDepth == 1)
                flushBytes();
            return;
        }
        flushBytes();
        m_stack.push_back(m_state);
    }

    void closeGroup() {
        m_fallback = 0;
        if (m_skippedDepth > 0) {
            --m_skippedDepth;
            return;
        }
        flushBytes();
        if (m_state.dest == Destination::FontTable)
            finishFontName();
        if (m_stack.empty()) {
            m_done = true;  // a closing brace with no group open
            return;
        }
        const Destination closing = m_state.dest;
        m_state = m_stack.back();
        m_stack.pop_back();
        if (closing == Destination::FontTable && m_state.dest != Destination::FontTable)
            m_inFontEntry = false;
        if (m_stack.empty())
            m_done = true;  // the document group closed
    }

    // ---- control words ------------------------------------------------------

    // After \uN the next characters of the fallback are dropped; a control
    // word or symbol counts as one of them.
    bool consumeFallback() {
        if (m_fallback > 0) {
            --m_fallback;
            return true;
        }
        return false;
    }

    void controlWord(const std::string &w, bool hasParam, qint64 value) {
        if (m_skippedDepth > 0) {
            if (w == "bin")
                skipBinary(hasParam ? value : 0);
            return;
        }
        if (w == "bin") {
            skipBinary(hasParam ? value : 0);
            return;
        }
        if (m_state.dest == Destination::Skip)
            return;
        if (consumeFallback())
            return;
        const int n = clampInt(value, -1000000000, 1000000000);
        const bool on = !hasParam || value != 0;

        // Destinations.
        if (w == "fonttbl") {
            flushBytes();
            m_state.dest = Destination::FontTable;
            return;
        }
        if (w == "colortbl") {
            flushBytes();
            m_state.dest = Destination::ColorTable;
            m_colorHasValue = false;
            m_red = m_green = m_blue = 0;
            return;
        }
        if (isSkippedDestination(w)) {
            flushBytes();
            m_state.dest = Destination::Skip;
            return;
        }

        if (m_state.dest == Destination::FontTable) {
            fontTableWord(w, hasParam, n);
            return;
        }
        if (m_state.dest == Destination::ColorTable) {
            if (w == "red")
                m_red = clampInt(n, 0, 255), m_colorHasValue = true;
            else if (w == "green")
                m_green = clampInt(n, 0, 255), m_colorHasValue = true;
            else if (w == "blue")
                m_blue = clampInt(n, 0, 255), m_colorHasValue = true;
            return;
        }

        // Document settings.
        if (w == "ansi") {
            m_codePage = DefaultCodePage;
            return;
        }
        if (w == "ansicpg") {
            if (hasParam && n > 0 && n < 70000)
                m_codePage = n;
            return;
        }
        if (w == "mac") {
            m_codePage = 10000;
            return;
        }
        if (w == "pc") {
            m_codePage = 437;
            return;
        }
        if (w == "pca") {
            m_codePage = 850;
            return;
        }
        if (w == "deff") {
            m_defaultFont = n;
            return;
        }

        // Characters.
        if (w == "u") {
            flushBytes();
            if (hasParam && value >= -65536 && value <= 0x10FFFF)
                unicode(static_cast<int>(value));
            m_fallback = m_state.uc;
            return;
        }
        if (w == "uc") {
            m_state.uc = clampInt(n, 0, 10);
            return;
        }
        if (w == "par" || w == "sect" || w == "nestcell") {
            endParagraph(false);
            return;
        }
        if (w == "cell") {
            endParagraph(true);
            return;
        }
        if (w == "row") {
            endRow();
            return;
        }
        if (w == "line") {
            character(0x2028);
            return;
        }
        if (w == "tab") {
            character('\t');
            return;
        }
        if (w == "page") {
            flushBytes();
            if (!m_para.runs.empty())
                endParagraph(false);
            m_pageBreakPending = true;
            return;
        }
        if (const char16_t ch = specialCharacter(w)) {
            character(ch);
            return;
        }

        // Character formatting.
        CharProps &c = m_state.chr;
        if (w == "plain") {
            flushBytes();
            c = CharProps();
            return;
        }
        if (w == "b" || w == "i" || w == "strike" || w == "striked" || w == "f" || w == "fs" || w == "cf" ||
            w == "super" || w == "sub" || w == "nosupersub" || w == "up" || w == "dn" || w == "ulnone" ||
            (w.size() >= 2 && w.compare(0, 2, "ul") == 0 && w != "ulc")) {
            flushBytes();
            if (w == "b")
                c.bold = on;
            else if (w == "i")
                c.italic = on;
            else if (w == "strike" || w == "striked")
                c.strike = on;
            else if (w == "f")
                c.font = hasParam ? n : -1;
            else if (w == "fs")
                c.halfPoints = hasParam && n > 0 ? std::min(n, 3276) : 24;
            else if (w == "cf")
                c.color = std::max(n, 0);
            else if (w == "super")
                c.vertical = on ? 1 : 0;
            else if (w == "sub")
                c.vertical = on ? -1 : 0;
            else if (w == "nosupersub")
                c.vertical = 0;
            else if (w == "up")  // raised by half-points: LibreOffice's superscript
                c.vertical = hasParam && value == 0 ? 0 : 1;
            else if (w == "dn")
                c.vertical = hasParam && value == 0 ? 0 : -1;
            else if (w == "ulnone")
                c.underline = false;
            else
                c.underline = on;  // \ul and its kinds: \uld, \uldb, \ulw, \ulwave...
            return;
        }

        // Paragraph formatting.
        ParaProps &p = m_state.para;
        if (w == "pard") {
            p = ParaProps();
            return;
        }
        if (w == "ql")
            p.alignment = Alignment::Left;
        else if (w == "qc")
            p.alignment = Alignment::Center;
        else if (w == "qr")
            p.alignment = Alignment::Right;
        else if (w == "qj" || w == "qd")
            p.alignment = Alignment::Justify;
        else if (w == "li" || w == "lin")
            p.left = clampInt(n, -31680, 31680);
        else if (w == "ri" || w == "rin")
            p.right = clampInt(n, -31680, 31680);
        else if (w == "fi")
            p.first = clampInt(n, -31680, 31680);
        else if (w == "sb")
            p.before = clampInt(n, 0, 31680);
        else if (w == "sa")
            p.after = clampInt(n, 0, 31680);
        else if (w == "pagebb")
            p.pageBreakBefore = on;
        else if (w == "intbl")
            p.inTable = on;
        else if (w == "itap")
            p.inTable = n > 0;

        // Table rows.
        else if (w == "trowd") {
            m_cellx.clear();
            m_rowLeft = 0;
            m_rowBorders = false;
            m_borderSide = false;
        } else if (w == "trleft") {
            m_rowLeft = clampInt(n, -1000000, 1000000);
        } else if (w == "cellx") {
            if (m_cellx.size() < 1000)
                m_cellx.push_back(clampInt(n, 0, 1000000));
        } else if (w.compare(0, 6, "clbrdr") == 0 || w.compare(0, 6, "trbrdr") == 0) {
            m_borderSide = true;
        } else if (w.compare(0, 4, "brdr") == 0 && w != "brdrw" && w != "brdrcf" && w != "brdrsp") {
            if (m_borderSide && w != "brdrnone" && w != "brdrnil")
                m_rowBorders = true;
            m_borderSide = false;
        }
        // Anything else is not used.
    }

    void skipBinary(qint64 count) {
        if (count <= 0)
            return;
        const qint64 left = m_end - m_p;
        m_p += std::min(count, left);
    }

    // ---- font and colour tables ---------------------------------------------

    void fontTableWord(const std::string &w, bool hasParam, int n) {
        if (w == "f" && hasParam) {
            finishFontName();
            auto it = m_fonts.find(n);
            if (it == m_fonts.end()) {
                if (static_cast<int>(m_fonts.size()) >= Limits::MaxFonts) {
                    m_inFontEntry = false;
                    return;
                }
                it = m_fonts.emplace(n, FontEntry()).first;
            } else {
                it->second = FontEntry();  // a repeated number: the later entry counts
            }
            m_fontEntry = n;
            m_inFontEntry = true;
            return;
        }
        if (!m_inFontEntry)
            return;
        FontEntry &e = m_fonts[m_fontEntry];
        if (w == "fcharset") {
            if (e.codePage == 0)
                e.codePage = codePageOfCharset(n);
        } else if (w == "cpg") {
            if (n > 0 && n < 70000)
                e.codePage = n;
        }
    }

    void fontNameByte(unsigned char b) {
        if (!m_inFontEntry)
            return;
        FontEntry &e = m_fonts[m_fontEntry];
        if (e.named)
            return;
        if (b == ';') {
            finishFontName();
            return;
        }
        if (e.name.size() < 256)
            e.name += static_cast<char>(b);
    }

    void finishFontName() {
        if (!m_inFontEntry)
            return;
        FontEntry &e = m_fonts[m_fontEntry];
        if (e.named)
            return;
        e.named = true;
        e.family = m_decoders.decode(e.codePage ? e.codePage : m_codePage, e.name).trimmed();
        e.family.remove(QLatin1Char(';'));
        m_familyCache.clear();
    }

    void colorTableByte(unsigned char b) {
        if (b != ';')
            return;
        if (static_cast<int>(m_colors.size()) < Limits::MaxColors) {
            if (m_colorHasValue)
                m_colors.push_back(static_cast<quint32>((m_red << 16) | (m_green << 8) | m_blue));
            else
                m_colors.push_back(std::nullopt);
        }
        m_colorHasValue = false;
        m_red = m_green = m_blue = 0;
    }

    // ---- text -----------------------------------------------------------------

    void textByte(unsigned char b) {
        if (m_skippedDepth > 0)
            return;
        switch (m_state.dest) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            if (!consumeFallback())
                fontNameByte(b);
            return;
        case Destination::ColorTable:
            colorTableByte(b);
            return;
        case Destination::Text:
            break;
        }
        if (consumeFallback())
            return;
        if (b == '\t') {
            character('\t');
            return;
        }
        if (b < 0x20)
            return;
        addByte(b);
    }

    void escapedByte(unsigned char b) {
        if (m_skippedDepth > 0 || m_state.dest == Destination::Skip)
            return;
        if (consumeFallback())
            return;
        if (m_state.dest == Destination::FontTable) {
            fontNameByte(b);
            return;
        }
        if (m_state.dest != Destination::Text)
            return;
        addByte(b);
    }

    void addByte(unsigned char b) {
        const int cp = currentCodePage();
        if (!m_bytes.isEmpty() && (cp != m_bytesCodePage || !(m_state.chr.font == m_bytesFont)))
            flushBytes();
        if (m_bytes.isEmpty()) {
            m_bytesCodePage = cp;
            m_bytesFont = m_state.chr.font;
        }
        m_bytes += static_cast<char>(b);
    }

    int currentCodePage() {
        const int f = m_state.chr.font >= 0 ? m_state.chr.font : m_defaultFont;
        const auto it = m_fonts.find(f);
        if (it != m_fonts.end() && it->second.codePage)
            return it->second.codePage;
        return m_codePage;
    }

    void flushBytes() {
        if (m_bytes.isEmpty())
            return;
        const QByteArray bytes = m_bytes;
        m_bytes.clear();
        addText(m_decoders.decode(m_bytesCodePage, bytes));
    }

    void unicode(int v) {
        if (v < 0)
            v += 65536;
        if (v >= 0xD800 && v <= 0xDBFF) {
            m_highSurrogate = static_cast<char16_t>(v);
            return;
        }
        if (v >= 0xDC00 && v <= 0xDFFF) {
            if (m_highSurrogate) {
                const char16_t pair[2] = {m_highSurrogate, static_cast<char16_t>(v)};
                m_highSurrogate = 0;
                addText(QString(reinterpret_cast<const QChar *>(pair), 2));
            } else {
                addText(QString(QChar(0xFFFD)));
            }
            return;
        }
        if (v > 0xFFFF) {
            const char32_t cp = static_cast<char32_t>(v);
            addText(QString::fromUcs4(&cp, 1));
            return;
        }
        addText(QString(QChar(static_cast<char16_t>(v))));
    }

    void character(char16_t ch) {
        if (m_skippedDepth > 0 || m_state.dest != Destination::Text)
            return;
        if (consumeFallback())
            return;
        flushBytes();
        addText(QString(QChar(ch)));
    }

    // Text into the paragraph being read, without characters that would
    // break the document's structure.
    void addText(QString text) {
        if (m_highSurrogate && !(text.size() >= 1 && text.at(0).isLowSurrogate())) {
            m_highSurrogate = 0;
            text.prepend(QChar(0xFFFD));
        }
        if (m_state.dest != Destination::Text || m_truncated)
            return;
        QString clean;
        clean.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text.at(i);
            const char16_t u = ch.unicode();
            if (u == 0x2029) {
                clean += QChar(0x2028);
            } else if ((u < 0x20 && u != '\t') || u == 0xFFFC || u == 0xFEFF || (u >= 0x7F && u < 0xA0)) {
                continue;
            } else if (ch.isHighSurrogate()) {
                if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                    clean += ch;
                    clean += text.at(++i);
                } else {
                    clean += QChar(0xFFFD);
                }
            } else if (ch.isLowSurrogate()) {
                clean += QChar(0xFFFD);
            } else {
                clean += ch;
            }
        }
        if (clean.isEmpty())
            return;
        const CharStyle style = currentStyle();
        if (m_para.runs.empty() || !(m_para.runs.back().style == style)) {
            if (++m_runs > Limits::MaxRuns) {
                truncate();
                return;
            }
        }
        m_para.append(clean, style);
    }

    QString familyOf(int font) {
        const int f = font >= 0 ? font : m_defaultFont;
        const auto cached = m_familyCache.find(f);
        if (cached != m_familyCache.end())
            return cached->second;
        QString family;
        const auto it = m_fonts.find(f);
        if (it != m_fonts.end())
            family = it->second.family;
        m_familyCache.emplace(f, family);
        return family;
    }

    CharStyle currentStyle() {
        const CharProps &c = m_state.chr;
        CharStyle s;
        s.font = familyOf(c.font);
        s.pointSize = c.halfPoints / 2.0;
        s.bold = c.bold;
        s.italic = c.italic;
        s.underline = c.underline;
        s.strike = c.strike;
        s.vertical = c.vertical;
        if (c.color > 0 && c.color < static_cast<int>(m_colors.size()))
            s.color = m_colors[static_cast<size_t>(c.color)];
        return s;
    }

    // ---- paragraphs and tables ------------------------------------------------

    void truncate() {
        m_truncated = true;
        m_done = true;
    }

    bool countParagraph() {
        if (++m_paragraphs > Limits::MaxParagraphs) {
            truncate();
            return false;
        }
        return true;
    }

    // Ends the paragraph being read: a paragraph of the document, or of the
    // table cell being read (ended by \cell, or by \par inside a table).
    void endParagraph(bool endsCell) {
        if (m_state.dest != Destination::Text || m_truncated)
            return;
        flushBytes();
        if (!countParagraph())
            return;
        const ParaProps &p = m_state.para;
        m_para.markStyle = currentStyle();
        m_para.alignment = p.alignment;
        m_para.leftIndent = p.left;
        m_para.rightIndent = p.right;
        m_para.firstLineIndent = p.first;
        m_para.spaceBefore = p.before;
        m_para.spaceAfter = p.after;
        m_para.pageBreakBefore = p.pageBreakBefore || m_pageBreakPending;
        m_pageBreakPending = false;
        if (endsCell) {
            m_cell.paragraphs.push_back(std::move(m_para));
            m_row.cells.push_back(std::move(m_cell));
            m_cell = TableCell();
            m_cellOpen = false;
        } else if (p.inTable) {
            m_cell.paragraphs.push_back(std::move(m_para));
            m_cellOpen = true;
        } else {
            closeTable();
            m_out.blocks.emplace_back(std::move(m_para));
        }
        m_para = Paragraph();
    }

    void endRow() {
        if (m_state.dest != Destination::Text || m_truncated)
            return;
        flushBytes();
        if (!m_para.runs.empty())
            endParagraph(true);
        if (m_cellOpen) {
            m_row.cells.push_back(std::move(m_cell));
            m_cell = TableCell();
            m_cellOpen = false;
        }
        m_rowOpenBorders = m_rowBorders;
        finishRow();
    }

    void finishRow() {
        TableRow row = std::move(m_row);
        m_row = TableRow();
        if (row.cells.empty())
            return;
        // Cells beyond the limit join the last one.
        if (static_cast<int>(row.cells.size()) > Limits::MaxColumns) {
            TableCell &last = row.cells[Limits::MaxColumns - 1];
            for (size_t i = Limits::MaxColumns; i < row.cells.size(); ++i)
                for (Paragraph &p : row.cells[i].paragraphs)
                    last.paragraphs.push_back(std::move(p));
            row.cells.resize(Limits::MaxColumns);
        }
        for (size_t i = 0; i < row.cells.size(); ++i)
            row.cells[i].rightBoundary = i < m_cellx.size() ? std::max(m_cellx[i] - m_rowLeft, 0) : 0;
        const int columns = std::max(m_tableColumns, static_cast<int>(row.cells.size()));
        if (static_cast<qint64>(columns) * static_cast<qint64>(m_table.rows.size() + 1) > Limits::MaxTableCells) {
            // Too large for one table: the row's text goes on as paragraphs.
            closeTable();
            for (TableCell &cell : row.cells)
                for (Paragraph &p : cell.paragraphs)
                    m_out.blocks.emplace_back(std::move(p));
            return;
        }
        m_tableBorders = m_tableBorders || m_rowOpenBorders;
        m_tableColumns = columns;
        m_table.rows.push_back(std::move(row));
    }

    void closeTable() {
        if (m_cellOpen) {
            m_row.cells.push_back(std::move(m_cell));
            m_cell = TableCell();
            m_cellOpen = false;
        }
        if (!m_row.cells.empty()) {
            m_rowOpenBorders = m_rowBorders;
            finishRow();
        }
        if (m_table.rows.empty())
            return;
        m_table.borders = m_tableBorders;
        m_out.blocks.emplace_back(std::move(m_table));
        m_table = TextTable();
        m_tableColumns = 0;
        m_tableBorders = false;
    }

    void finish() {
        m_done = true;
        if (!m_truncated) {
            // Text after the last paragraph mark is a paragraph too (also in
            // a damaged file that ends inside a group); a mark closing the
            // document adds no empty paragraph.
            m_skippedDepth = 0;
            m_state.dest = Destination::Text;
            flushBytes();
            if (!m_para.runs.empty())
                endParagraph(false);
        }
        closeTable();
        const QString family = familyOf(-1);
        if (!family.isEmpty())
            m_out.defaultFont = family;
    }

    const char *m_p;
    const char *m_end;
    bool m_done = false;
    bool m_truncated = false;

    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_skippedDepth = 0;

    int m_codePage = DefaultCodePage;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    std::map<int, QString> m_familyCache;
    int m_fontEntry = 0;
    bool m_inFontEntry = false;
    std::vector<std::optional<quint32>> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorHasValue = false;

    Decoders m_decoders;
    QByteArray m_bytes;
    int m_bytesCodePage = DefaultCodePage;
    int m_bytesFont = -1;
    int m_fallback = 0;
    char16_t m_highSurrogate = 0;

    RichText m_out;
    Paragraph m_para;
    TableCell m_cell;
    bool m_cellOpen = false;
    TableRow m_row;
    TextTable m_table;
    int m_tableColumns = 0;
    std::vector<int> m_cellx;  // cell boundaries of the row definition, from the page's left margin
    int m_rowLeft = 0;         // where the row starts (\trleft)
    bool m_borderSide = false;
    bool m_rowBorders = false;
    bool m_rowOpenBorders = false;
    bool m_tableBorders = false;
    bool m_pageBreakPending = false;
    int m_paragraphs = 0;
    int m_runs = 0;
};

}  // namespace

RtfReadResult readRtf(const QByteArray &data) { return Reader(data).run(); }

}  // namespace varnel::templates
