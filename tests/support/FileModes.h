#pragma once

#include <QFile>
#include <QString>
#include <sys/stat.h>

namespace varnel::test {

// The permission bits of a file (0600...), or -1 when it does not exist.
inline int modeOf(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// Sets the process umask for the life of a test.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }
    Umask(const Umask &) = delete;
    Umask &operator=(const Umask &) = delete;

private:
    mode_t m_old;
};

}  // namespace varnel::test
