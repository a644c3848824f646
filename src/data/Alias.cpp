#include "data/Alias.h"

#include "core/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace varnel::data {

namespace {
const QString Key = QStringLiteral("Aliases/") + QLatin1String(Alias::Name);
}

QStringList Alias::searchPath() {
    const QString env = qEnvironmentVariable("VARNEL_INI");
    if (!env.isEmpty())
        return {env};
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return {config + QStringLiteral("/varnel/varnel.ini"), QStringLiteral("/etc/varnel/varnel.ini")};
}

QString Alias::userFile() { return searchPath().first(); }

QString Alias::resolve() {
    const QStringList files = searchPath();
    for (const QString &file : files) {
        if (!QFileInfo(file).isFile())
            continue;
        QSettings ini(file, QSettings::IniFormat);
        if (ini.status() != QSettings::NoError)
            throw core::DbError(QStringLiteral("Nie można odczytać pliku aliasu %1").arg(file));
        const QString dir = ini.value(Key).toString().trimmed();
        if (dir.isEmpty())
            throw core::DbError(QStringLiteral("W pliku %1 nie zdefiniowano aliasu %2 (sekcja [Aliases], klucz %2=<katalog>)")
                              .arg(file, QLatin1String(Name)));
        // A relative directory is taken from the place of the alias file.
        return QFileInfo(file).absoluteDir().absoluteFilePath(dir);
    }
    throw core::DbError(QStringLiteral("Nie zdefiniowano aliasu %1: brak pliku %2")
                      .arg(QLatin1String(Name), files.join(QStringLiteral(" ani "))));
}

void Alias::write(const QString &iniFile, const QString &directory) {
    const QFileInfo info(iniFile);
    if (!QDir().mkpath(info.absolutePath()))
        throw core::DbError(QStringLiteral("Nie można utworzyć katalogu %1").arg(info.absolutePath()));
    {
        QSettings ini(iniFile, QSettings::IniFormat);
        ini.setValue(Key, QDir(directory).absolutePath());
        ini.sync();
        if (ini.status() != QSettings::NoError)
            throw core::DbError(QStringLiteral("Nie można zapisać pliku aliasu %1").arg(iniFile));
    }
    QFile::setPermissions(iniFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace varnel::data
