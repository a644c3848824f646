#pragma once

#include <QObject>
#include <QStringList>

namespace varnel::reg {

// The texts the windows offer in their pick lists, read from the
// dictionaries by the main window (IniAllDictList) and refilled whenever a
// dictionary window closes: the windows that show these lists follow
// `changed`.
class ChoiceLists : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QStringList managers;  // Opis of Zarzadcy.db, table order
    QStringList statuses;  // Opis of statlok.db, table order
    QStringList titles;    // Opis of tytprawn.db, table order

    void set(const QStringList &m, const QStringList &s, const QStringList &t) {
        managers = m;
        statuses = s;
        titles = t;
        emit changed();
    }

signals:
    void changed();
};

}  // namespace varnel::reg
