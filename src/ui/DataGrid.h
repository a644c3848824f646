#pragma once

#include "ui/TableModel.h"

#include <QTableView>

namespace varnel::core {
class Questions;
}

namespace varnel::ui {

using core::Questions;

// A read-only grid over a table cursor with whole rows selected: choosing a
// row makes it the cursor's current row, and the selection follows the
// cursor when code moves it.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    TableModel *tableModel() const { return m_model; }
    void setTable(data::Table *table);
    void setColumns(const QVector<GridColumn> &columns);
    // Display widths of the columns in characters (initially those of the
    // columns); the pixel width of a column is its characters times the
    // width of a digit in the grid's font (digits are equally wide).
    void setColumnChars(int column, int chars);
    int columnChars(int column) const;
    void applyColumnWidths();
    // Where a failure to move (a row that cannot be posted) or to read the
    // table is told.
    void setQuestions(Questions *questions) { m_questions = questions; }

signals:
    // A double click on a row (or Enter when the window does not take it).
    void rowActivated();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void followCursor(int row);
    void userMoved(const QModelIndex &current);

    TableModel *m_model;
    QVector<int> m_chars;
    bool m_following = false;
    Questions *m_questions = nullptr;
};

}  // namespace varnel::ui
