#include "ui/DataSource.h"

#include "ui/DbControls.h"

#include <algorithm>

namespace varnel::ui {

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::~DataSource() = default;  // the observer leaves its table itself

void DataSource::setTable(data::Table *table) {
    if (m_table == table)
        return;
    if (m_table)
        m_table->removeObserver(this);
    m_table = table;
    if (m_table)
        m_table->addObserver(this);
    reloadControls();
}

void DataSource::tableDestroyed(data::Table &) {
    m_table = nullptr;
    reloadControls();
    emit rowsChanged();
}

void DataSource::addControl(DbControl *c) {
    if (std::find(m_controls.begin(), m_controls.end(), c) == m_controls.end())
        m_controls.push_back(c);
}

void DataSource::removeControl(DbControl *c) {
    m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), c), m_controls.end());
}

void DataSource::updateRecord() {
    for (DbControl *c : m_controls)
        if (c->isPending())
            c->store();
}

void DataSource::reloadControls() {
    for (DbControl *c : m_controls)
        c->load();
}

void DataSource::tableEvent(data::Table &, data::TableEvent event, int field) {
    using data::TableEvent;
    switch (event) {
    case TableEvent::UpdateRecord:
        updateRecord();
        break;
    case TableEvent::RowEdited:
        for (DbControl *c : m_controls)
            if (!c->isPending() && m_table && m_table->fieldIndex(c->fieldName()) == field)
                c->load();
        emit fieldEdited(field);
        break;
    case TableEvent::StateChanged:
        if (m_table && !m_table->isEditing())
            reloadControls();
        emit stateChanged();
        break;
    case TableEvent::Scrolled:
        reloadControls();
        emit scrolled();
        break;
    case TableEvent::Opened:
    case TableEvent::Closed:
    case TableEvent::RowsChanged:
        reloadControls();
        emit rowsChanged();
        break;
    }
}

}  // namespace varnel::ui
