#pragma once

#include "data/Database.h"
#include "data/Layouts.h"

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
};

}  // namespace varnel::test
