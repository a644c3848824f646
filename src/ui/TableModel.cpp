#include "ui/TableModel.h"

#include "core/DbError.h"

namespace varnel::ui {

using data::TableEvent;

// The grid reads its table while it paints, where nothing may be thrown: a
// failure of the table (a table renamed or deleted under the grid by another
// cursor) is caught here, the grid is emptied once the paint is over, and
// the engine's message is passed on through readFailed.

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

TableModel::~TableModel() = default;  // the observer leaves its table itself

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
    m_shown.clear();
    m_rows = 0;
    m_failed = false;
    if (!m_table || !m_table->isOpen())
        return;
    try {
        m_shown = effectiveColumns();
        for (const auto &c : m_shown)
            m_fieldOf << m_table->fieldIndex(c.field);
        m_rows = m_table->recordCount();
    } catch (const core::DbError &e) {
        m_fieldOf.clear();
        m_shown.clear();
        m_rows = 0;
        failed(e.message());
    }
}

void TableModel::failed(const QString &message) const {
    if (m_failed)
        return;
    m_failed = true;
    m_failure = message;
    if (m_failurePending)
        return;
    m_failurePending = true;
    auto *self = const_cast<TableModel *>(this);
    QMetaObject::invokeMethod(self, [self] { self->emptyAfterFailure(); }, Qt::QueuedConnection);
}

void TableModel::emptyAfterFailure() {
    m_failurePending = false;
    if (!m_failed)
        return;  // the table was opened again meanwhile
    beginResetModel();
    m_fieldOf.clear();
    m_shown.clear();
    m_rows = 0;
    endResetModel();
    emit readFailed(m_failure);
}

int TableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int TableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_fieldOf.size()); }

QVariant TableModel::data(const QModelIndex &index, int role) const {
    if (m_failed || !index.isValid() || !m_table || !m_table->isOpen() || index.column() >= m_fieldOf.size() ||
        index.row() >= m_rows)
        return QVariant();
    const int field = m_fieldOf[index.column()];
    if (field < 0)
        return QVariant();
    try {
        const data::FieldDef &def = m_table->fieldDef(field);
        if (role == Qt::TextAlignmentRole)
            return data::isNumeric(def.type) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return QVariant();
        return displayText(def, m_table->valueAt(index.row() + 1, field), m_shown[index.column()].style);
    } catch (const core::DbError &e) {
        failed(e.message());
    } catch (const std::exception &e) {
        failed(QString::fromUtf8(e.what()));
    }
    return QVariant();
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    const QVector<GridColumn> &cols = m_shown.isEmpty() ? m_columns : m_shown;
    return section >= 0 && section < cols.size() ? QVariant(cols[section].title) : QVariant();
}

void TableModel::beforePaint() const {
    if (m_failed || !m_table || !m_table->isOpen())
        return;
    try {
        m_table->noticeOutsideChanges();
    } catch (const core::DbError &e) {
        failed(e.message());
    }
}

int TableModel::currentRow() const {
    if (m_failed || !m_table || !m_table->isOpen() || m_table->state() == data::TableState::Insert)
        return -1;
    try {
        return m_table->recNo() - 1;
    } catch (const core::DbError &e) {
        failed(e.message());
        return -1;
    }
}

void TableModel::reset() {
    beginResetModel();
    rebuildFieldMap();
    endResetModel();
}

void TableModel::tableEvent(data::Table &, TableEvent event, int) {
    switch (event) {
    case TableEvent::Opened:
    case TableEvent::Closed:
    case TableEvent::RowsChanged:
        reset();
        emit currentRowChanged(currentRow());
        break;
    case TableEvent::Scrolled: {
        int count = m_rows;
        try {
            count = m_table->recordCount();
        } catch (const core::DbError &) {
            count = -1;  // told by the reset below
        }
        if (count != m_rows)
            reset();
        emit currentRowChanged(currentRow());
        break;
    }
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

void TableModel::tableDestroyed(data::Table &) {
    beginResetModel();
    m_table = nullptr;
    rebuildFieldMap();
    endResetModel();
    emit currentRowChanged(-1);
}

}  // namespace varnel::ui
