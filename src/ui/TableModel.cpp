#include "ui/TableModel.h"

namespace varnel::ui {

using data::TableEvent;

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

TableModel::~TableModel() {
    if (m_table)
        m_table->removeObserver(this);
}

void TableModel::setTable(data::Table *table) {
    beginResetModel();
    if (m_table)
        m_table->removeObserver(this);
    m_table = table;
    if (m_table)
        m_table->addObserver(this);
    rebuildFieldMap();
    endResetModel();
}

void TableModel::setColumns(const QVector<GridColumn> &columns) {
    beginResetModel();
    m_columns = columns;
    rebuildFieldMap();
    endResetModel();
}

QVector<GridColumn> TableModel::effectiveColumns() const {
    if (!m_columns.isEmpty() || !m_table || !m_table->isOpen())
        return m_columns;
    QVector<GridColumn> all;
    for (const auto &f : m_table->fieldDefs())
        all << GridColumn{f.name, f.name, f.type == data::FieldType::Text && f.size > 0 ? f.size : 10};
    return all;
}

void TableModel::rebuildFieldMap() {
    m_fieldOf.clear();
    m_rows = 0;
    if (!m_table || !m_table->isOpen())
        return;
    for (const auto &c : effectiveColumns())
        m_fieldOf << m_table->fieldIndex(c.field);
    m_rows = m_table->recordCount();
}

int TableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int TableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_fieldOf.size()); }

QVariant TableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !m_table || !m_table->isOpen() || index.column() >= m_fieldOf.size())
        return QVariant();
    const int field = m_fieldOf[index.column()];
    if (field < 0)
        return QVariant();
    const data::FieldDef &def = m_table->fieldDef(field);
    if (role == Qt::TextAlignmentRole)
        return data::isNumeric(def.type) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    const auto cols = effectiveColumns();
    return displayText(def, m_table->valueAt(index.row() + 1, field), cols[index.column()].style);
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    const auto cols = effectiveColumns();
    return section < cols.size() ? QVariant(cols[section].title) : QVariant();
}

int TableModel::currentRow() const {
    if (!m_table || !m_table->isOpen() || m_table->state() == data::TableState::Insert)
        return -1;
    return m_table->recNo() - 1;
}

void TableModel::tableEvent(data::Table &, TableEvent event, int) {
    switch (event) {
    case TableEvent::Opened:
    case TableEvent::Closed:
    case TableEvent::RowsChanged:
        beginResetModel();
        rebuildFieldMap();
        endResetModel();
        emit currentRowChanged(currentRow());
        break;
    case TableEvent::Scrolled:
        if (m_table->recordCount() != m_rows) {
            beginResetModel();
            rebuildFieldMap();
            endResetModel();
        }
        emit currentRowChanged(currentRow());
        break;
    case TableEvent::RowEdited:
    case TableEvent::StateChanged: {
        const int row = currentRow();
        if (row >= 0 && row < m_rows)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        break;
    }
    case TableEvent::UpdateRecord:
        break;
    }
}

}  // namespace varnel::ui
