#include "ui/DataGrid.h"

#include "core/DbError.h"
#include "core/Questions.h"

#include <QHeaderView>

namespace varnel::ui {

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new TableModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    connect(m_model, &TableModel::currentRowChanged, this, &DataGrid::followCursor);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        followCursor(m_model->currentRow());
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { userMoved(current); });
    connect(this, &QTableView::doubleClicked, this, [this] { emit rowActivated(); });
    // A table that cannot be read shows as an empty grid; the engine's
    // message is told once the paint is over.
    connect(m_model, &TableModel::readFailed, this, [this](const QString &message) {
        if (m_questions)
            m_questions->error(message);
    });
}

void DataGrid::setTable(data::Table *table) {
    m_model->setTable(table);
    if (m_chars.isEmpty()) {
        for (const auto &c : m_model->effectiveColumns())
            m_chars << c.displayWidth;
        applyColumnWidths();
    }
}

void DataGrid::setColumns(const QVector<GridColumn> &columns) {
    m_model->setColumns(columns);
    m_chars.clear();
    for (const auto &c : columns)
        m_chars << c.displayWidth;
    applyColumnWidths();
}

void DataGrid::setColumnChars(int column, int chars) {
    if (column >= 0 && column < m_chars.size()) {
        m_chars[column] = chars;
        setColumnWidth(column, chars * fontMetrics().horizontalAdvance(QLatin1Char('0')));
    }
}

int DataGrid::columnChars(int column) const { return column >= 0 && column < m_chars.size() ? m_chars[column] : 0; }

void DataGrid::applyColumnWidths() {
    if (m_chars.isEmpty())
        for (const auto &c : m_model->effectiveColumns())
            m_chars << c.displayWidth;
    for (int c = 0; c < m_chars.size() && c < m_model->columnCount(); ++c)
        setColumnWidth(c, m_chars[c] * fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

// A change another connection or program made is read before the cells are.
void DataGrid::paintEvent(QPaintEvent *event) {
    m_model->beforePaint();
    QTableView::paintEvent(event);
}

void DataGrid::followCursor(int row) {
    m_following = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex idx = m_model->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(idx);
    } else {
        selectionModel()->clearSelection();
    }
    m_following = false;
}

void DataGrid::userMoved(const QModelIndex &current) {
    if (m_following || !current.isValid())
        return;
    data::Table *t = m_model->table();
    if (!t || !t->isOpen() || t->recNo() == current.row() + 1)
        return;
    try {
        t->moveTo(current.row() + 1);
    } catch (const core::DbError &e) {
        // The row being edited could not be posted; stay on it.
        followCursor(m_model->currentRow());
        if (m_questions)
            m_questions->error(e.message());
    }
}

}  // namespace varnel::ui
