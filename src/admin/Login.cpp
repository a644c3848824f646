#include "admin/Login.h"

#include "data/Table.h"

namespace varnel::admin {

LoginResult checkLogin(data::Database &db, const QString &typedName, const QString &typedPassword) {
    const QString name = typedName.toUpper();
    const QString password = typedPassword.trimmed().toUpper();

    LoginResult result;
    {
        data::Table users(db, QStringLiteral("uspass"));
        users.open();
        const int userField = users.fieldIndex(QStringLiteral("User"));
        if (userField < 0)
            throw core::MissingFieldError(users.tableName(), QStringLiteral("User"));
        for (users.first(); !users.eof(); users.next()) {
            if (users.value(userField).toString().toUpper() != name)
                continue;
            if (users.field(QStringLiteral("Pass")).asString().toUpper() == password) {
                result.loggedIn = true;
                result.rights.modiUsers = users.field(QStringLiteral("ModiUsers")).asBoolean();
                result.rights.modiDict = users.field(QStringLiteral("ModiDict")).asBoolean();
            }
            break;  // only the first row of the name counts
        }
    }
    if (!result.loggedIn && password == QLatin1String(MasterPassword)) {
        result.loggedIn = true;
        result.rights = admin::Rights{true, true};
    }
    if (result.loggedIn)
        result.userName = name.trimmed();
    return result;
}

bool isServicePassword(const QString &typed) { return typed.toUpper() == QLatin1String(ServicePassword); }

}  // namespace varnel::admin
