#pragma once

#include "admin/Rights.h"

#include <QString>

namespace varnel::data {
class Database;
}

namespace varnel::admin {

// Admits under any user name, with both rights.
inline constexpr const char *MasterPassword = "PELSIRAN";
// Opens the service tools.
inline constexpr const char *ServicePassword = "TOLMERAK";

inline const QString FailedLoginText = QStringLiteral("   Nieprawidłowe hasło lub nazwa użytkownika!  ");

struct LoginResult {
    bool loggedIn = false;
    admin::Rights rights;  // none until a user row or the master password admits
    QString userName;      // when logged in: the name in capitals, without surrounding blanks
};

// Checks a name and a password as typed against the user table "uspass".
// The name is taken in capitals as typed (a trailing blank counts), the
// password in capitals without surrounding blanks. Only the first row whose
// name equals the name without regard to case is tried; it admits when its
// password in capitals equals the password, with the row's rights. When it
// does not, the master password admits with both rights whatever the name.
// Throws core::DbError when the user table cannot be read.
LoginResult checkLogin(data::Database &db, const QString &typedName, const QString &typedPassword);

// The service password as typed: in capitals, blanks kept.
bool isServicePassword(const QString &typed);

}  // namespace varnel::admin
