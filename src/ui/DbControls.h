#pragma once

#include "ui/DataSource.h"
#include "ui/DisplayFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <optional>

class QButtonGroup;

namespace varnel::ui {

class DataSource;

// A control bound to one field of a data source's current row.
class DbControl {
public:
    virtual ~DbControl();

    void bind(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_source; }
    QString fieldName() const { return m_field; }
    // The name used in messages about this control ("Liczba osób"); the
    // field name when not set.
    void setCaption(const QString &caption) { m_caption = caption; }
    QString caption() const { return m_caption.isEmpty() ? m_field : m_caption; }

    // Shows the field's value of the current row (drops pending text).
    virtual void load() = 0;
    // Writes pending text into the field; throws core::FieldValueError with
    // a message naming the field when it does not fit. Nothing is written
    // then.
    virtual void store() = 0;
    bool isPending() const { return m_pending; }

protected:
    // Called on the first change by the user: puts the row into editing.
    // Returns false when the row cannot be edited (the change is undone).
    bool beginChange();
    // Writes a value into the field, translating a refusal into a message
    // that names the field.
    void writeValue(const QVariant &value, const QString &typed);
    int fieldIndex() const;
    QVariant fieldValue() const;
    const data::FieldDef *fieldDef() const;
    // Writes pending text when the control loses the focus; a refusal is
    // shown and false returned.
    bool storeOnLeaving();
    // Shows a refusal through the data source's questions.
    void refuse(const QString &message) const;

    QPointer<DataSource> m_source;
    QString m_field;
    QString m_caption;
    bool m_pending = false;
    bool m_loading = false;
};

// Text box bound to a field of any type.
class DbLineEdit : public QLineEdit, public DbControl {
    Q_OBJECT
public:
    explicit DbLineEdit(QWidget *parent = nullptr);
    void setNumberStyle(NumberStyle style) { m_style = style; }
    // Allowed range of a number typed here (e.g. no negative persons).
    void setRange(double min, double max) {
        m_min = min;
        m_max = max;
    }
    void load() override;
    void store() override;

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    NumberStyle m_style = NumberStyle::Plain;
    std::optional<double> m_min, m_max;
};

// Pick list bound to a text field; editable lists take any text.
class DbComboBox : public QComboBox, public DbControl {
    Q_OBJECT
public:
    explicit DbComboBox(QWidget *parent = nullptr);
    // Items kept in Polish alphabetical order.
    void setSorted(bool sorted) { m_sorted = sorted; }
    bool isSorted() const { return m_sorted; }
    void setItems(const QStringList &items);
    void load() override;
    void store() override;

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    void userChanged();
    bool m_sorted = false;
};

// Check box bound to a boolean field, or to a text field holding "Tak"/"Nie".
class DbCheckBox : public QCheckBox, public DbControl {
    Q_OBJECT
public:
    explicit DbCheckBox(const QString &text = QString(), QWidget *parent = nullptr);
    void load() override;
    void store() override {}
};

// Radio group bound to a text field that stores the text of the chosen
// item. A stored text that matches no item (blanks after it do not count)
// leaves every item unchosen: itemIndex() is then -1.
class DbRadioGroup : public QGroupBox, public DbControl {
    Q_OBJECT
public:
    explicit DbRadioGroup(const QString &title = QString(), QWidget *parent = nullptr);
    void setItems(const QStringList &items);
    QStringList items() const { return m_items; }
    int itemIndex() const;
    QAbstractButton *button(int index) const;
    void load() override;
    void store() override {}

private:
    QStringList m_items;
    QButtonGroup *m_group;
};

// Multi-line text bound to a memo or text field.
class DbMemo : public QPlainTextEdit, public DbControl {
    Q_OBJECT
public:
    explicit DbMemo(QWidget *parent = nullptr);
    void load() override;
    void store() override;

protected:
    void focusOutEvent(QFocusEvent *e) override;
};

}  // namespace varnel::ui
