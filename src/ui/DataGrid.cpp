#include "ui/DataGrid.h"

#include "core/DbError.h"
#include "core/Questions.h"

#include <QApplication>

#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace varnel::ui {

namespace {

// Paints a cell's text as Qt's own delegate does (the style's panel for the
// selection, the text inside the style's margins, elided at the right, the
// focus frame), but keeps each text laid out once. Qt's delegate lays out
// and shapes the text of every cell anew at each paint, and with a search
// that moves the current row far at each keystroke the whole grid is
// painted again each time: that was most of a keystroke's work.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, widget);

        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
            const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
            const QStaticText &laid = laidOut(text, option.font, area.width());
            const QSizeF size = laid.size();
            const QVariant alignment = index.data(Qt::TextAlignmentRole);
            const Qt::Alignment align = alignment.metaType() == QMetaType::fromType<Qt::Alignment>()
                                            ? alignment.value<Qt::Alignment>()
                                            : Qt::Alignment(alignment.toInt());
            const qreal x = align & Qt::AlignRight ? area.right() + 1 - size.width() : area.left();
            const qreal y = area.top() + (area.height() - size.height()) / 2;
            const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                               : option.state & QStyle::State_Active  ? QPalette::Normal
                                                                                      : QPalette::Inactive;
            painter->save();
            painter->setClipRect(area);
            painter->setFont(option.font);
            painter->setPen(option.palette.color(group, option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                                : QPalette::Text));
            painter->drawStaticText(QPointF(x, y), laid);
            painter->restore();
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = option.rect;
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            focus.backgroundColor = option.palette.color(option.state & QStyle::State_Selected ? QPalette::Highlight
                                                                                                : QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }

private:
    // The text laid out in the font, elided when wider than the cell.
    const QStaticText &laidOut(const QString &text, const QFont &font, int width) const {
        if (font != m_font) {
            m_texts.clear();
            m_font = font;
        }
        const QString key = text + QChar(0) + QString::number(width);
        auto it = m_texts.constFind(key);
        if (it != m_texts.constEnd())
            return *it;
        if (m_texts.size() >= 4096)
            m_texts.clear();
        const QFontMetrics metrics(font);
        QStaticText laid(metrics.horizontalAdvance(text) > width ? metrics.elidedText(text, Qt::ElideRight, width) : text);
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        laid.prepare(QTransform(), font);
        return *m_texts.insert(key, laid);
    }

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};

}  // namespace

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new TableModel(this)) {
    setModel(m_model);
    setItemDelegate(new CellDelegate(this));
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
