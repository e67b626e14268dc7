// The lock a table holds while it is open: a lock file per table in the connection's lock folder,
// locked with flock() shared (open) or exclusive (open for exclusive use), never waiting.
// Each lock opens the file itself, so two tables of two connections in one process conflict just
// as two processes do.
#pragma once

#include <QString>

namespace tarno::db {

class TableLock {
 public:
  TableLock() = default;
  ~TableLock();
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

  // Throws DatabaseError naming the table when another holder conflicts or the file cannot be made.
  void Acquire(const QString& lockDirectory, const QString& table, bool exclusive);
  void Release();
  bool IsHeld() const { return m_fd >= 0; }

 private:
  int m_fd = -1;  // -1 == not held
};

}  // namespace tarno::db
