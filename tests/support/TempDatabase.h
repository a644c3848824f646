#pragma once

#include "data/Database.h"
#include "data/Layouts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace varnel::test {

// A new empty database in a directory removed after the test.
struct TempDatabase {
    QTemporaryDir dir;
    std::unique_ptr<data::Database> db;

    TempDatabase() : db(data::Database::create(dir.path())) {}
    data::Database &operator*() { return *db; }
    data::Database *operator->() { return db.get(); }
    QString path() const { return dir.path(); }
    // Writes a file (a template) into the database's directory; its path.
    QString writeFile(const QString &name, const QByteArray &data) const {
        const QString file = QDir(dir.path()).filePath(name);
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.write(data);
        return file;
    }
};

}  // namespace varnel::test
