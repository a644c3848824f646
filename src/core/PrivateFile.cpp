#include "core/PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnel::core {

namespace {

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

void syncDirectory(const QString &directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

PrivateFile::PrivateFile(const QString &path) : m_path(path), m_target(QFileInfo(path).absoluteFilePath()) {}

PrivateFile::~PrivateFile() {
    if (m_temp && !m_committed)
        m_temp->remove();
}

bool PrivateFile::fail(const QString &why) {
    m_error = QStringLiteral("Nie można zapisać pliku %1: %2").arg(m_path, why);
    return false;
}

bool PrivateFile::open() {
    const QByteArray given = QFile::encodeName(m_target);
    struct stat link {};
    if (::lstat(given.constData(), &link) == 0) {
        struct stat target {};
        if (::stat(given.constData(), &target) != 0)
            return fail(QStringLiteral("to dowiązanie do pliku, którego nie ma"));
        if (!S_ISREG(target.st_mode))
            return fail(S_ISDIR(target.st_mode)
                            ? QStringLiteral("to katalog")
                            : QStringLiteral("to nie jest zwykły plik (urządzenie, potok albo gniazdo), "
                                             "więc nie zostanie zastąpiony"));
        if (S_ISLNK(link.st_mode))
            m_target = QFileInfo(m_target).canonicalFilePath();
    } else if (errno != ENOENT) {
        return fail(systemText(errno));
    }
    const QFileInfo info(m_target);
    if (!info.absoluteDir().exists())
        return fail(QStringLiteral("katalog %1 nie istnieje").arg(info.absolutePath()));
    // QTemporaryFile makes its file with O_EXCL and mode 0600; a leading
    // dot keeps it out of the program's file dialogs.
    m_temp = std::make_unique<QTemporaryFile>(info.absoluteDir().filePath(QLatin1Char('.') + info.fileName()
                                                                          + QStringLiteral(".XXXXXX")));
    if (!m_temp->open()) {
        const QString why = m_temp->errorString();
        m_temp.reset();
        return fail(why);
    }
    return true;
}

QIODevice *PrivateFile::device() const { return m_temp.get(); }

QString PrivateFile::temporaryPath() const { return m_temp ? m_temp->fileName() : QString(); }

bool PrivateFile::commit() {
    if (!m_temp)
        return fail(QStringLiteral("plik nie został otwarty"));
    if (!m_temp->flush())
        return fail(m_temp->errorString());
    if (::fsync(m_temp->handle()) != 0)
        return fail(systemText(errno));
    const QString temp = m_temp->fileName();
    m_temp->close();
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(m_target).constData()) != 0)
        return fail(systemText(errno));
    m_committed = true;
    m_temp->setAutoRemove(false);
    syncDirectory(QFileInfo(m_target).absolutePath());
    return true;
}

}  // namespace varnel::core
