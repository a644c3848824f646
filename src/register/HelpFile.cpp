// The help file format (kalvo2a.hlp), plain UTF-8 text:
//
//   # comment                     a line of "#" alone or "# " and anything
//   #topic 8 Okno główne          starts topic 8 with its title
//   #keywords lista; rejestr      keywords of the topic, separated by ";"
//                                 (the line may repeat)
//   Text of a paragraph, which    lines of a paragraph join into one;
//   may run over several lines.   a blank line ends it
//   - an item of a list           a line beginning "- " starts an item;
//     continued here              following lines continue it
//   See [[10]] or [[18|the form]] links to other topics: by their title or
//                                 by the text given
//
// Anything else beginning with "#" is a mistake, as is text before the first
// topic, a topic without a number or title, a topic number given twice (the
// first topic stays) and a link to a topic the file lacks; mistakes are
// listed, the rest of the file is read.

#include "register/HelpFile.h"

#include "data/Collation.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace varnel::help {

namespace {

const QRegularExpression &linkPattern() {
    static const QRegularExpression re(QStringLiteral(R"(\[\[(\d+)(?:\|([^\]]*))?\]\])"));
    return re;
}

QString problem(int line, const QString &what) { return QStringLiteral("wiersz %1: %2").arg(line).arg(what); }

}  // namespace

HelpFile HelpFile::parse(const QString &text) {
    HelpFile file;
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    const QStringList lines = body.split(QLatin1Char('\n'));

    HelpTopic *topic = nullptr;  // null also while skipping a repeated topic
    bool skipping = false;
    bool inBlock = false;        // the last block is still open for more lines
    QVector<std::pair<int, int>> links;  // (line, topic) to check at the end

    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines[i];
        while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char(' ')) || line.endsWith(QLatin1Char('\t')))
            line.chop(1);

        if (line.startsWith(QLatin1Char('#'))) {
            inBlock = false;
            if (line == QLatin1String("#") || line.startsWith(QLatin1String("# ")))
                continue;
            const int space = line.indexOf(QLatin1Char(' '));
            const QString directive = line.mid(1, space < 0 ? -1 : space - 1);
            const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
            if (directive == QLatin1String("topic")) {
                const int gap = rest.indexOf(QLatin1Char(' '));
                bool ok = false;
                const int number = rest.left(gap).toInt(&ok);
                const QString title = gap < 0 ? QString() : rest.mid(gap + 1).trimmed();
                if (!ok || number <= 0 || title.isEmpty()) {
                    file.m_problems << problem(lineNo, QStringLiteral("temat bez numeru lub tytułu"));
                    topic = nullptr;
                    skipping = true;
                } else if (file.topic(number)) {
                    file.m_problems << problem(lineNo, QStringLiteral("temat %1 powtórzony").arg(number));
                    topic = nullptr;
                    skipping = true;
                } else {
                    file.m_topics.append(HelpTopic{number, title, {}, {}});
                    topic = &file.m_topics.last();
                    skipping = false;
                }
            } else if (directive == QLatin1String("keywords")) {
                if (!topic) {
                    if (!skipping)
                        file.m_problems << problem(lineNo, QStringLiteral("słowa kluczowe poza tematem"));
                    continue;
                }
                for (const QString &k : rest.split(QLatin1Char(';'))) {
                    const QString keyword = k.simplified();
                    if (!keyword.isEmpty() && !topic->keywords.contains(keyword))
                        topic->keywords << keyword;
                }
            } else {
                file.m_problems << problem(lineNo, QStringLiteral("nieznane polecenie #%1").arg(directive));
            }
            continue;
        }

        if (line.trimmed().isEmpty()) {
            inBlock = false;
            continue;
        }
        if (!topic) {
            if (!skipping)
                file.m_problems << problem(lineNo, QStringLiteral("tekst poza tematem"));
            continue;
        }
        for (auto it = linkPattern().globalMatch(line); it.hasNext();)
            links.append({lineNo, it.next().captured(1).toInt()});

        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("- "))) {
            topic->blocks.append(HelpBlock{HelpBlock::Kind::Item, trimmed.mid(2).trimmed()});
            inBlock = true;
        } else if (inBlock) {
            topic->blocks.last().text += QLatin1Char(' ') + trimmed;
        } else {
            topic->blocks.append(HelpBlock{HelpBlock::Kind::Paragraph, trimmed});
            inBlock = true;
        }
    }

    for (const auto &[line, number] : links)
        if (!file.topic(number))
            file.m_problems << problem(line, QStringLiteral("odsyłacz do brakującego tematu %1").arg(number));
    file.buildIndex();
    return file;
}

bool HelpFile::load(const QString &path, HelpFile &file, QString &error) {
    QFile f(path);
    if (!f.exists()) {
        error = QStringLiteral("Brak pliku pomocy: %1").arg(path);
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Nie można odczytać pliku pomocy %1: %2").arg(path, f.errorString());
        return false;
    }
    file = parse(QString::fromUtf8(f.readAll()));
    return true;
}

const HelpTopic *HelpFile::topic(int number) const {
    for (const auto &t : m_topics)
        if (t.number == number)
            return &t;
    return nullptr;
}

void HelpFile::buildIndex() {
    m_keywords.clear();
    auto add = [this](const QString &keyword, int number) {
        for (auto &k : m_keywords) {
            if (data::comparePolish(k.keyword, keyword) == 0) {
                if (!k.topics.contains(number))
                    k.topics << number;
                return;
            }
        }
        m_keywords.append(HelpKeyword{keyword, {number}});
    };
    for (const auto &t : m_topics) {
        add(t.title, t.number);
        for (const auto &k : t.keywords)
            add(k, t.number);
    }
    std::stable_sort(m_keywords.begin(), m_keywords.end(), [](const HelpKeyword &a, const HelpKeyword &b) {
        return data::comparePolish(a.keyword, b.keyword) < 0;
    });
}

int HelpFile::findKeyword(const QString &typed) const {
    const QString text = typed.trimmed();
    for (int i = 0; i < m_keywords.size(); ++i) {
        const QString &k = m_keywords[i].keyword;
        if (data::comparePolish(k.left(text.size()), text) >= 0)
            return i;
    }
    return -1;
}

QString HelpFile::linkText(const QString &text) const {
    QString out;
    int from = 0;
    for (auto it = linkPattern().globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(from, m.capturedStart() - from).toHtmlEscaped();
        const int number = m.captured(1).toInt();
        const HelpTopic *target = topic(number);
        QString shown = m.captured(2);
        if (shown.isEmpty())
            shown = target ? target->title : m.captured(1);
        if (target)
            out += QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(number).arg(shown.toHtmlEscaped());
        else
            out += shown.toHtmlEscaped();
        from = m.capturedEnd();
    }
    out += text.mid(from).toHtmlEscaped();
    return out;
}

QString HelpFile::html(const HelpTopic &topic) const {
    QString out = QStringLiteral("<h2>%1</h2>\n").arg(topic.title.toHtmlEscaped());
    bool inList = false;
    for (const auto &b : topic.blocks) {
        if (b.kind == HelpBlock::Kind::Item && !inList) {
            out += QStringLiteral("<ul>\n");
            inList = true;
        } else if (b.kind == HelpBlock::Kind::Paragraph && inList) {
            out += QStringLiteral("</ul>\n");
            inList = false;
        }
        out += (inList ? QStringLiteral("<li>%1</li>\n") : QStringLiteral("<p>%1</p>\n")).arg(linkText(b.text));
    }
    if (inList)
        out += QStringLiteral("</ul>\n");
    return out;
}

}  // namespace varnel::help
