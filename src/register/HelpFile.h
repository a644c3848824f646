#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "core/HelpTopics.h"

namespace varnel::help {

// A paragraph or a list item of a topic; its text may hold links [[N]] and
// [[N|text]] to other topics.
struct HelpBlock {
    enum class Kind { Paragraph, Item };
    Kind kind = Kind::Paragraph;
    QString text;
    bool operator==(const HelpBlock &) const = default;
};

struct HelpTopic {
    int number = 0;
    QString title;
    QStringList keywords;
    QVector<HelpBlock> blocks;
};

// An entry of the keyword index: a keyword (or a topic title) and the topics
// it leads to, in file order.
struct HelpKeyword {
    QString keyword;
    QVector<int> topics;
};

// A help file: UTF-8 text in topics. See HelpFile.cpp for the format.
class HelpFile {
public:
    static HelpFile parse(const QString &text);
    // Reads a file; false with a message when it cannot be read.
    static bool load(const QString &path, HelpFile &file, QString &error);

    const QVector<HelpTopic> &topics() const { return m_topics; }
    const HelpTopic *topic(int number) const;

    // Every keyword and topic title once, in Polish alphabetical order
    // without regard to case.
    const QVector<HelpKeyword> &keywords() const { return m_keywords; }
    // The index entry a typed text leads to: the first whose keyword begins
    // with the text (without regard to case), else the first that comes
    // after it; -1 past the end. An empty text leads to the first entry.
    int findKeyword(const QString &typed) const;

    // The topic as a page of the help window; links read "topic:N".
    QString html(const HelpTopic &topic) const;

    // What was wrong in the file, line by line ("wiersz 12: ..."); the rest
    // of the file is still read.
    const QStringList &problems() const { return m_problems; }

private:
    void buildIndex();
    QString linkText(const QString &text) const;

    QVector<HelpTopic> m_topics;
    QVector<HelpKeyword> m_keywords;
    QStringList m_problems;
};

}  // namespace varnel::help
