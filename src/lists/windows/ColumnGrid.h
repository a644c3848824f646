#pragma once

#include "lists/ListTemplate.h"

#include <QAbstractTableModel>
#include <QVector>

class QTableView;

namespace varnel::lists {

// The columns of a list template as the grid "Zawartość linii:" shows them:
// "Poz." (the position, 1..n in order), "Nazwa pola", "Długość" and
// "Sumować". The model holds the columns itself; positions follow the order,
// so they are always 1..n. Only "Długość" can be typed into, and only when
// the model is editable (the template editor); a width that is not a whole
// number of characters from 1 up is refused with a message (`refused`).
class ColumnGridModel;

// Shows the model in a grid as both windows do: one line per column, the
// positions narrow, the names wide.
void setUpColumnGrid(QTableView *grid, ColumnGridModel *model);

class ColumnGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Position, Name, Width, Sum, ColumnCount };

    explicit ColumnGridModel(QObject *parent = nullptr);

    void setEditable(bool editable) { m_editable = editable; }
    const QVector<ListColumn> &columns() const { return m_columns; }
    void setColumns(const QVector<ListColumn> &columns);
    void append(const ListColumn &column);
    void remove(int row);
    void replace(int row, const ListColumn &column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // A width typed into the grid changed a column.
    void widthEdited(int row);
    // A width typed into the grid was not taken; the message says why.
    void refused(const QString &message);

private:
    QVector<ListColumn> m_columns;
    bool m_editable = false;
};

}  // namespace varnel::lists
