#include "lists/windows/ColumnGrid.h"

#include "lists/TemplateEditing.h"

#include <QHeaderView>
#include <QTableView>

namespace varnel::lists {

void setUpColumnGrid(QTableView *grid, ColumnGridModel *model) {
    grid->setModel(model);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setWordWrap(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    const int digit = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    grid->setColumnWidth(ColumnGridModel::Position, 6 * digit);
    grid->setColumnWidth(ColumnGridModel::Name, 28 * digit);
    grid->setColumnWidth(ColumnGridModel::Width, 9 * digit);
}

ColumnGridModel::ColumnGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void ColumnGridModel::setColumns(const QVector<ListColumn> &columns) {
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void ColumnGridModel::append(const ListColumn &column) {
    const int row = int(m_columns.size());
    beginInsertRows(QModelIndex(), row, row);
    m_columns << column;
    endInsertRows();
}

void ColumnGridModel::remove(int row) {
    if (row < 0 || row >= m_columns.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_columns.removeAt(row);
    endRemoveRows();
    // The positions after it moved up by one.
    if (row < m_columns.size())
        emit dataChanged(index(row, Position), index(int(m_columns.size()) - 1, Position));
}

void ColumnGridModel::replace(int row, const ListColumn &column) {
    if (row < 0 || row >= m_columns.size())
        return;
    m_columns[row] = column;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ColumnGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

int ColumnGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ColumnGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_columns.size())
        return QVariant();
    const ListColumn &c = m_columns[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Position || index.column() == Width ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    switch (index.column()) {
    case Position:
        return index.row() + 1;
    case Name:
        return c.name;
    case Width:
        return role == Qt::EditRole ? QVariant(QString::number(c.width)) : QVariant(c.width);
    case Sum:
        return c.sum;
    default:
        return QVariant();
    }
}

QVariant ColumnGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case Position:
        return QStringLiteral("Poz.");
    case Name:
        return QStringLiteral("Nazwa pola");
    case Width:
        return QStringLiteral("Długość");
    case Sum:
        return QStringLiteral("Sumować");
    default:
        return QVariant();
    }
}

Qt::ItemFlags ColumnGridModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && index.column() == Width)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ColumnGridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!m_editable || role != Qt::EditRole || !index.isValid() || index.column() != Width ||
        index.row() >= m_columns.size())
        return false;
    int width = 0;
    const QString refusal = parseColumnWidth(value.toString(), &width);
    if (!refusal.isEmpty()) {
        emit refused(refusal);
        return false;
    }
    if (m_columns[index.row()].width == width)
        return true;
    m_columns[index.row()].width = width;
    emit dataChanged(index, index);
    emit widthEdited(index.row());
    return true;
}

}  // namespace varnel::lists
