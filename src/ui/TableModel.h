#pragma once

#include "data/Table.h"
#include "ui/DisplayFormat.h"

#include <QAbstractTableModel>
#include <QVector>

namespace varnel::ui {

// A column of a grid: the field shown, its title and its display width in
// characters.
struct GridColumn {
    QString field;
    QString title;
    int displayWidth = 10;
    NumberStyle style = NumberStyle::Plain;
};

// The rows of an open table cursor for a grid, in the cursor's order. Rows
// are read as the grid paints them, never all at once, so a register of any
// size opens at once. The grid's current row and the cursor's follow each
// other. Nothing is thrown out of the model: a table that cannot be read
// (renamed or deleted under the grid) shows as an empty grid, and the
// engine's message comes once through readFailed. The model unbinds itself
// when the table is destroyed first.
class TableModel : public QAbstractTableModel, public data::TableObserver {
    Q_OBJECT
public:
    explicit TableModel(QObject *parent = nullptr);
    ~TableModel() override;

    void setTable(data::Table *table);
    data::Table *table() const { return m_table; }
    // Without columns every field of the cursor is a column.
    void setColumns(const QVector<GridColumn> &columns);
    const QVector<GridColumn> &columns() const { return m_columns; }
    QVector<GridColumn> effectiveColumns() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Row of the grid that is the cursor's current row, or -1.
    int currentRow() const;
    // Before a paint: the rows are read again when another connection or
    // program changed the database.
    void beforePaint() const;

    void tableEvent(data::Table &table, data::TableEvent event, int field) override;
    void tableDestroyed(data::Table &table) override;

signals:
    // The cursor's current row moved to this grid row.
    void currentRowChanged(int row);
    // The table could not be read; the grid is empty until it opens again.
    void readFailed(const QString &message);

private:
    void rebuildFieldMap();
    void reset();
    void failed(const QString &message) const;
    void emptyAfterFailure();

    data::Table *m_table = nullptr;
    QVector<GridColumn> m_columns;
    QVector<GridColumn> m_shown;  // the columns in view (effectiveColumns when opened)
    QVector<int> m_fieldOf;       // field index per column
    int m_rows = 0;
    mutable bool m_failed = false;
    mutable bool m_failurePending = false;
    mutable QString m_failure;
};

}  // namespace varnel::ui
