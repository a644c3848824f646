#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace varnel::help {

// The help file in the program directory and the topic numbers the program
// opens it at (F1 by what has the focus, and the menus).
inline const QString FileName = QStringLiteral("kalvo2a.hlp");

inline constexpr int MainWindow = 8;          // the window and the register list
inline constexpr int HelpMenu = 9;            // "Pomoc"
inline constexpr int ApplicationsMenu = 10;   // "Wnioski"
inline constexpr int Archive = 12;            // "Otwórz archiwum"
inline constexpr int MonthClose = 13;         // "Przepisz do archiwum"
inline constexpr int OperationsMenu = 15;     // "Operacje"
inline constexpr int PrintTemplatesMenu = 16; // "Wzory wydruków"
inline constexpr int ApplicationForm = 18;    // the application form
inline constexpr int Recalculation = 20;      // "Przelicz dodatki"
inline constexpr int ListTemplates = 23;      // "Listy"
inline constexpr int ParametersMenu = 24;     // "Parametry"
inline constexpr int CalculationDisplay = 25; // "Obliczenia - wyświetlanie"
inline constexpr int Amounts = 26;            // "Kwoty"
inline constexpr int Dictionaries = 27;       // "Słowniki"
inline constexpr int PrinterSetup = 28;       // "Ustawienia drukarki"
inline constexpr int ExpiredRemoval = 29;     // "Usuń nieaktualne"
inline constexpr int PrintDecision = 117;     // "Drukuj decyzję"
inline constexpr int PrintList = 118;         // "Drukuj listę"

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
