#pragma once

#include "data/Table.h"

#include <QObject>
#include <QPointer>
#include <vector>

namespace varnel::core {
class Questions;
}

namespace varnel::ui {

using core::Questions;
class DbControl;

// Joins bound controls to one table cursor: controls show the fields of its
// current row, a change typed into a control puts the row into editing, and
// every pending text is written into the row before it is posted.
class DataSource : public QObject, public data::TableObserver {
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    void setTable(data::Table *table);
    data::Table *table() const { return m_table; }
    // Where refusals of bad input are shown (optional; without it a refusal
    // only keeps the control from writing).
    void setQuestions(Questions *questions) { m_questions = questions; }
    Questions *questions() const { return m_questions; }

    void addControl(DbControl *c);
    void removeControl(DbControl *c);

    // Writes the pending text of every control into the row; throws
    // core::FieldValueError (with a message naming the field) when one
    // cannot be stored. Called by the table before every post.
    void updateRecord();
    // Makes every control show the row again.
    void reloadControls();

    void tableEvent(data::Table &table, data::TableEvent event, int field) override;
    // A table destroyed before its data source leaves it unbound, the
    // controls blank.
    void tableDestroyed(data::Table &table) override;

signals:
    void stateChanged();
    void scrolled();
    void rowsChanged();
    void fieldEdited(int field);

private:
    data::Table *m_table = nullptr;
    Questions *m_questions = nullptr;
    std::vector<DbControl *> m_controls;
};

}  // namespace varnel::ui
