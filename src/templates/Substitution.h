#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace varnel::templates {

// The text the substitution works on: a document seen as one string of
// characters, positions counted as the document counts them. The documents
// tier gives a QTextDocument this face (templates/doc/DecisionDocument.h);
// tests and plain-text uses give a QString.
class PlaceholderText {
public:
    virtual ~PlaceholderText() = default;
    // Position of the first occurrence of `what` at or after `from`
    // (case-sensitive), or -1.
    virtual int indexOf(const QString &what, int from) const = 0;
    // The characters from `from` up to, not including, `to`.
    virtual QString text(int from, int to) const = 0;
    // Replaces the characters from `from` up to `to` with `value`; false
    // (and nothing changed) when that stretch cannot be replaced as one, for
    // instance when it runs from one table cell into another.
    virtual bool replace(int from, int to, const QString &value) = 0;
};

// A QString as the text of a substitution.
class StringPlaceholderText : public PlaceholderText {
public:
    explicit StringPlaceholderText(QString text) : m_text(std::move(text)) {}
    int indexOf(const QString &what, int from) const override;
    QString text(int from, int to) const override;
    bool replace(int from, int to, const QString &value) override;
    const QString &result() const { return m_text; }

private:
    QString m_text;
};

// The filling of placeholders, one `SeekBase` step at a time, from scan
// position 0:
//  1. find "@<" from the scan position; none: nothing replaced, the end;
//  2. found at b: the scan position becomes b + 1; find ">@" from b; none:
//     nothing replaced, the end (an unclosed "@<" ends the filling, later
//     placeholders stay as they are);
//  3. found at c: the name is the text between, the characters from b to
//     c + 2 are replaced with the value of the name.
// Because the scan goes on at b + 1, inside the value just put in, a value
// that holds a complete placeholder is filled in turn.
//
// A value that holds its own placeholder would be filled for ever, so a
// placeholder is filled only up to MaxNesting values deep (deeper ones stay
// as they are), and a filling ends after MaxReplacements replacements.
class Substitution {
public:
    using Lookup = std::function<QString(const QString &name)>;

    static constexpr int MaxNesting = 4;
    static constexpr int MaxReplacements = 20000;

    Substitution(PlaceholderText &text, Lookup lookup);

    // One step: true when a placeholder was replaced (or, past the nesting
    // limit, passed over), false at the end of the filling.
    bool SeekBase();
    // SeekBase until the end; the number of placeholders replaced.
    int fillAll();

    int scanPosition() const { return m_s; }

private:
    struct Value {
        int end;    // first position after the value
        int depth;  // 1 for a value put in for a placeholder of the template
    };

    PlaceholderText &m_text;
    Lookup m_lookup;
    int m_s = 0;
    int m_replaced = 0;
    std::vector<Value> m_values;  // the values the scan position is inside, outermost first
};

// Fills every placeholder of a string with the values of `lookup`.
QString fillPlaceholders(const QString &text, const Substitution::Lookup &lookup);

}  // namespace varnel::templates
