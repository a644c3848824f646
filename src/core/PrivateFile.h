#pragma once

#include <QString>
#include <memory>

class QIODevice;
class QTemporaryFile;

namespace varnel::core {

// A file the program writes that holds application or user data (an
// export, a PDF of a decision or a list, a backup of the database):
//  - it is readable and writable by its owner only (mode 0600), whatever
//    the umask, from the moment it exists;
//  - it is written under a temporary name beside it and put in place by a
//    rename when complete, so a failure or a crash midway leaves the old
//    file as it was and no half file;
//  - an existing path that is not a regular file (a device, a pipe, a
//    directory) is refused, never replaced; a symbolic link to a regular
//    file is followed, and the file it points to is replaced.
// QSaveFile does the rename, but gives a new file the umask's mode and
// replaces devices and pipes, hence this class.
class PrivateFile {
public:
    explicit PrivateFile(const QString &path);
    ~PrivateFile();  // removes the temporary file unless committed
    PrivateFile(const PrivateFile &) = delete;
    PrivateFile &operator=(const PrivateFile &) = delete;

    // Checks the path and makes the temporary file. False with
    // errorString() when the file cannot be written.
    bool open();
    // The temporary file, open for writing.
    QIODevice *device() const;
    // Its path, for writers that open the file themselves (SQLite, a
    // printer); the file exists, empty, with mode 0600.
    QString temporaryPath() const;
    // The file that is replaced (the target of a symbolic link).
    QString targetPath() const { return m_target; }
    // Writes the data to the disk and renames the temporary file into
    // place. False with errorString(); the old file then stays.
    bool commit();

    // A Polish message naming the file and the cause.
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &why);

    QString m_path;
    QString m_target;
    QString m_error;
    std::unique_ptr<QTemporaryFile> m_temp;
    bool m_committed = false;
};

// Makes renames in a directory durable: its entries reach the disk.
void syncDirectory(const QString &directory);

}  // namespace varnel::core
