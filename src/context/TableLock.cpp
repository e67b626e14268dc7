// Table locks on lock files with flock(): shared for an open table, exclusive for exclusive use.
#include "context/TableLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstring>

#include "context/Errors.h"

namespace tarno::db {

TableLock::~TableLock() {
  Release();
}

void TableLock::Acquire(const QString& lockDirectory, const QString& table, bool exclusive) {
  Release();
  if (!QDir().mkpath(lockDirectory))
    throw DatabaseError(
        QStringLiteral("The lock folder %1 for table %2 cannot be created.").arg(lockDirectory, table));
  const QString path = QDir(lockDirectory).filePath(table.toUpper() + QStringLiteral(".lock"));
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    throw DatabaseError(QStringLiteral("The lock file %1 of table %2 cannot be opened: %3.")
                            .arg(path, table, QString::fromLocal8Bit(std::strerror(errno))));
  int result;
  do {
    result = ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      if (exclusive)
        throw DatabaseError(
            QStringLiteral("Table %1 cannot be opened for exclusive use: it is open elsewhere.").arg(table));
      throw DatabaseError(
          QStringLiteral("Table %1 cannot be opened: it is open for exclusive use elsewhere.").arg(table));
    }
    throw DatabaseError(QStringLiteral("Table %1 cannot be locked: %2.")
                            .arg(table, QString::fromLocal8Bit(std::strerror(error))));
  }
  m_fd = fd;
}

void TableLock::Release() {
  if (m_fd < 0) return;
  ::close(m_fd);  // closing the descriptor drops its flock
  m_fd = -1;
}

}  // namespace tarno::db
