#pragma once

#include <QString>

namespace varnel::data {

// The alias "Varnel" names the database directory. It is defined in an INI
// file "varnel.ini", section [Aliases], key Varnel=<directory>, looked up in
// $VARNEL_INI when set, else $XDG_CONFIG_HOME/varnel/varnel.ini (by default
// ~/.config/varnel/varnel.ini), else /etc/varnel/varnel.ini.
class Alias {
public:
    static constexpr const char *Name = "Varnel";

    // The alias files in the order they are looked up.
    static QStringList searchPath();
    // The file the alias would be written to: $VARNEL_INI or the user's file.
    static QString userFile();
    // The database directory of the alias; throws core::DbError with a message
    // that names what is missing (no alias file, no alias in it).
    static QString resolve();
    // Writes (or replaces) the alias in a file, readable by its owner only.
    static void write(const QString &iniFile, const QString &directory);
};

}  // namespace varnel::data
