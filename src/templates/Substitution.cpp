#include "templates/Substitution.h"

#include "templates/FieldCatalogue.h"

namespace varnel::templates {

int StringPlaceholderText::indexOf(const QString &what, int from) const {
    return static_cast<int>(m_text.indexOf(what, from, Qt::CaseSensitive));
}

QString StringPlaceholderText::text(int from, int to) const { return m_text.mid(from, to - from); }

bool StringPlaceholderText::replace(int from, int to, const QString &value) {
    m_text.replace(from, to - from, value);
    return true;
}

Substitution::Substitution(PlaceholderText &text, Lookup lookup) : m_text(text), m_lookup(std::move(lookup)) {}

bool Substitution::SeekBase() {
    if (m_replaced >= MaxReplacements)
        return false;
    const int b = m_text.indexOf(PlaceholderStart, m_s);
    if (b < 0)
        return false;
    m_s = b + 1;
    const int c = m_text.indexOf(PlaceholderEnd, b);
    if (c < 0)
        return false;
    const int e = c + static_cast<int>(PlaceholderEnd.size());

    // How many values deep the placeholder stands.
    while (!m_values.empty() && m_values.back().end <= b)
        m_values.pop_back();
    const int depth = m_values.empty() ? 0 : m_values.back().depth;
    if (depth >= MaxNesting)
        return true;

    const QString name = m_text.text(b + static_cast<int>(PlaceholderStart.size()), c);
    const QString value = m_lookup(name);
    if (!m_text.replace(b, e, value))
        return true;  // not one placeholder: the scan goes on after its "@<"
    ++m_replaced;

    const int valueEnd = b + static_cast<int>(value.size());
    const int delta = valueEnd - e;
    for (Value &v : m_values)
        v.end = v.end >= e ? v.end + delta : valueEnd;  // a placeholder may close after the value it began in
    m_values.push_back(Value{valueEnd, depth + 1});
    return true;
}

int Substitution::fillAll() {
    while (SeekBase()) {
    }
    return m_replaced;
}

QString fillPlaceholders(const QString &text, const Substitution::Lookup &lookup) {
    StringPlaceholderText t(text);
    Substitution(t, lookup).fillAll();
    return t.result();
}

}  // namespace varnel::templates
