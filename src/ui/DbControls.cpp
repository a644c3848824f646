#include "ui/DbControls.h"

#include "data/Collation.h"
#include "core/DbError.h"
#include "data/Values.h"
#include "ui/DataSource.h"
#include "core/Questions.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QTimer>
#include <algorithm>

namespace varnel::ui {

using data::FieldType;
using core::FieldValueError;

namespace {

// The clerk's message for a text a field cannot hold.
QString refusal(const QString &caption, const QString &typed, const data::FieldDef &f) {
    if (data::isTextual(f.type)) {
        const qsizetype bad = data::forbiddenCharacterAt(typed, f.type == FieldType::Memo);
        if (bad >= 0)
            return QStringLiteral("Pole „%1”: tekst zawiera niedozwolony znak sterujący (%2).")
                .arg(caption, data::characterCode(typed[bad]));
    }
    if (f.type == FieldType::Date) {
        bool ok = false;
        const auto d = data::parseDate(typed, &ok);
        if (ok && d && *d < data::earliestDate())
            return QStringLiteral("Pole „%1”: data %2 jest wcześniejsza niż %3 – to najwcześniejsza data, jaką "
                                  "przyjmuje pole.")
                .arg(caption, data::formatDate(*d), data::formatDate(data::earliestDate()));
    }
    switch (f.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        return QStringLiteral("Pole „%1”: „%2” nie jest poprawną liczbą całkowitą.").arg(caption, typed);
    case FieldType::Float:
    case FieldType::Currency:
        return QStringLiteral("Pole „%1”: „%2” nie jest poprawną liczbą.").arg(caption, typed);
    case FieldType::Date:
        return QStringLiteral("Pole „%1”: „%2” nie jest poprawną datą (dd.mm.rrrr).").arg(caption, typed);
    default:
        return QStringLiteral("Pole „%1”: nieprawidłowa wartość „%2”.").arg(caption, typed);
    }
}

QString number(double v) { return data::formatFloat(v); }

}  // namespace

DbControl::~DbControl() {
    if (m_source)
        m_source->removeControl(this);
}

void DbControl::bind(DataSource *source, const QString &fieldName) {
    if (m_source)
        m_source->removeControl(this);
    m_source = source;
    m_field = fieldName;
    if (m_source)
        m_source->addControl(this);
    load();
}

int DbControl::fieldIndex() const {
    if (!m_source || !m_source->table() || !m_source->table()->isOpen())
        return -1;
    return m_source->table()->fieldIndex(m_field);
}

const data::FieldDef *DbControl::fieldDef() const {
    const int i = fieldIndex();
    return i < 0 ? nullptr : &m_source->table()->fieldDef(i);
}

QVariant DbControl::fieldValue() const {
    const int i = fieldIndex();
    return i < 0 ? QVariant() : m_source->table()->value(i);
}

bool DbControl::beginChange() {
    if (m_loading)
        return false;
    const int i = fieldIndex();
    if (i < 0)
        return false;
    data::Table *t = m_source->table();
    if (!t->isEditing()) {
        try {
            t->edit();
        } catch (const core::DbError &e) {
            refuse(e.message());
            return false;
        }
    }
    return true;
}

void DbControl::writeValue(const QVariant &value, const QString &typed) {
    const int i = fieldIndex();
    if (i < 0)
        return;
    data::Table *t = m_source->table();
    const data::FieldDef &f = t->fieldDef(i);
    QVariant v;
    try {
        v = data::Table::coerce(f, value);
    } catch (const core::FieldValueError &e) {
        if (e.kind() == core::FieldValueError::Kind::OutOfRange)
            throw core::FieldValueError(f.name, QStringLiteral("Pole „%1”: wartość %2 jest poza dopuszczalnym zakresem.").arg(caption(), typed),
                                        e.kind());
        throw core::FieldValueError(f.name, refusal(caption(), typed, f), e.kind());
    }
    if (!t->isEditing())
        t->edit();
    t->setValue(i, v);
}

bool DbControl::storeOnLeaving() {
    if (!m_pending)
        return true;
    try {
        store();
        return true;
    } catch (const core::FieldValueError &err) {
        refuse(err.message());
        return false;
    }
}

void DbControl::refuse(const QString &message) const {
    if (m_source && m_source->questions())
        m_source->questions()->inform(message);
}

// ---------------------------------------------------------------------------

DbLineEdit::DbLineEdit(QWidget *parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (isReadOnly())
            return;
        if (!m_pending && !beginChange()) {
            load();
            return;
        }
        m_pending = true;
    });
}

void DbLineEdit::load() {
    m_loading = true;
    m_pending = false;
    const data::FieldDef *f = fieldDef();
    const QString shown = f ? ui::displayText(*f, fieldValue(), m_style) : QString();
    // The size counts characters, the box counts UTF-16 units: a stored
    // text with characters outside the basic plane is shown whole.
    if (f && f->type == FieldType::Text && f->size > 0)
        setMaxLength(std::max<int>(f->size, int(shown.size())));
    setText(shown);
    setCursorPosition(0);
    m_loading = false;
}

void DbLineEdit::store() {
    if (!m_pending)
        return;
    const data::FieldDef *f = fieldDef();
    if (!f)
        return;
    const QString typed = text();
    if ((m_min || m_max) && data::isNumeric(f->type) && !typed.trimmed().isEmpty()) {
        bool ok = false;
        const double v = QString(typed.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok && ((m_min && v < *m_min) || (m_max && v > *m_max)))
            throw core::FieldValueError(f->name,
                                        QStringLiteral("Pole „%1”: wartość musi być z zakresu %2–%3.")
                                            .arg(caption(), number(m_min.value_or(-1e300)), number(m_max.value_or(1e300))),
                                        core::FieldValueError::Kind::OutOfRange);
    }
    writeValue(typed, typed);
    m_pending = false;
    // What was typed reads at once as the field shows it ("12,5" as 12.50,
    // "1.2.2026" as 01.02.2026).
    load();
}

void DbLineEdit::focusOutEvent(QFocusEvent *e) {
    QLineEdit::focusOutEvent(e);
    if (!storeOnLeaving()) {
        // The typed text stays for the clerk to correct; the row keeps
        // its previous value.
        QTimer::singleShot(0, this, [this] {
            setFocus();
            selectAll();
        });
    }
}

// ---------------------------------------------------------------------------

DbComboBox::DbComboBox(QWidget *parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this] { userChanged(); });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!m_loading && lineEdit() && lineEdit()->hasFocus())
            userChanged();
    });
}

void DbComboBox::userChanged() {
    if (m_loading)
        return;
    if (!m_pending && !beginChange()) {
        load();
        return;
    }
    m_pending = true;
}

void DbComboBox::setItems(const QStringList &items) {
    QStringList list = items;
    if (m_sorted)
        std::stable_sort(list.begin(), list.end(),
                         [](const QString &a, const QString &b) { return data::comparePolish(a, b) < 0; });
    m_loading = true;
    const QString text = currentText();
    clear();
    addItems(list);
    setCurrentIndex(-1);
    setEditText(text);
    m_loading = false;
    if (!m_pending)
        load();
}

void DbComboBox::load() {
    m_loading = true;
    m_pending = false;
    const data::FieldDef *f = fieldDef();
    const QString text = f ? ui::displayText(*f, fieldValue()) : QString();
    const int i = findText(text);
    setCurrentIndex(i);
    if (isEditable())
        setEditText(text);
    m_loading = false;
}

void DbComboBox::store() {
    if (!m_pending)
        return;
    const QString text = currentText();
    writeValue(text, text);
    m_pending = false;
}

void DbComboBox::focusOutEvent(QFocusEvent *e) {
    QComboBox::focusOutEvent(e);
    storeOnLeaving();
}

// ---------------------------------------------------------------------------

DbCheckBox::DbCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent) {
    connect(this, &QCheckBox::clicked, this, [this](bool checked) {
        if (!beginChange()) {
            load();
            return;
        }
        const data::FieldDef *f = fieldDef();
        if (!f)
            return;
        try {
            if (f->type == FieldType::Boolean)
                writeValue(checked, QString());
            else
                writeValue(checked ? QStringLiteral("Tak") : QStringLiteral("Nie"), QString());
        } catch (const core::FieldValueError &err) {
            refuse(err.message());
            load();
        }
    });
}

void DbCheckBox::load() {
    m_loading = true;
    const data::FieldDef *f = fieldDef();
    const QVariant v = fieldValue();
    bool on = false;
    if (f && f->type == FieldType::Boolean)
        on = v.isValid() && v.toBool();
    else
        on = v.toString() == QLatin1String("Tak");
    setChecked(on);
    m_loading = false;
}

// ---------------------------------------------------------------------------

DbRadioGroup::DbRadioGroup(const QString &title, QWidget *parent) : QGroupBox(title, parent), m_group(new QButtonGroup(this)) {
    new QVBoxLayout(this);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (!beginChange()) {
            load();
            return;
        }
        try {
            writeValue(m_items.value(id), QString());
        } catch (const FieldValueError &err) {
            refuse(err.message());
            load();
        }
    });
}

void DbRadioGroup::setItems(const QStringList &items) {
    for (QAbstractButton *b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        layout()->addWidget(b);
    }
    load();
}

QAbstractButton *DbRadioGroup::button(int index) const { return m_group->button(index); }

int DbRadioGroup::itemIndex() const { return m_group->checkedId(); }

void DbRadioGroup::load() {
    m_loading = true;
    auto trimmed = [](QString s) {
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        return s;
    };
    const QString stored = trimmed(fieldValue().toString());
    int chosen = -1;
    for (int i = 0; i < m_items.size() && chosen < 0; ++i)
        if (!stored.isEmpty() && trimmed(m_items[i]) == stored)
            chosen = i;
    // An exclusive group cannot show no choice once one is made.
    m_group->setExclusive(false);
    for (QAbstractButton *b : m_group->buttons())
        b->setChecked(m_group->id(b) == chosen);
    m_group->setExclusive(true);
    m_loading = false;
}

// ---------------------------------------------------------------------------

DbMemo::DbMemo(QWidget *parent) : QPlainTextEdit(parent) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_loading || isReadOnly())
            return;
        if (!m_pending && !beginChange()) {
            load();
            return;
        }
        m_pending = true;
    });
}

void DbMemo::load() {
    m_loading = true;
    m_pending = false;
    setPlainText(fieldValue().toString());
    m_loading = false;
}

void DbMemo::store() {
    if (!m_pending)
        return;
    const QString text = toPlainText();
    writeValue(text, text);
    m_pending = false;
}

void DbMemo::focusOutEvent(QFocusEvent *e) {
    QPlainTextEdit::focusOutEvent(e);
    storeOnLeaving();
}

}  // namespace varnel::ui
