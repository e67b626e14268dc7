// The one database connection of a call: credentials, connect path, connect and disconnect, the
// dictionary test, the encrypted-table emulation and transactions.
//
// Connect path: a SQLite database file (the embedded default), or later a postgresql:// URI.
// It is a dictionary connection exactly when its upper-cased text contains ".ADD": then no table
// password is given or needed anywhere. On any other (free-table) connection every encrypted
// table must be given the table password: a table right after it opens (Table::EnableEncryption),
// a statement once per encrypted table it names (Query::SetTablePassword). The database lists its
// encrypted tables in the metadata table TARNO_ENCRYPTION (TABLE_NAME, PASSWORD_HASH); a database
// without it has no encrypted tables.
//
// Order of calls: SetUsername/SetPassword, SetConnectPath, SetConnected(true), ... use tables and
// queries ..., SetConnected(false).
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

namespace tarno::db {

enum class Backend { Sqlite, Postgres };

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void SetUsername(const QString& name);
  QString Username() const;
  void SetPassword(const QString& password);
  QString Password() const;

  // Only while disconnected; throws DatabaseError otherwise.
  void SetConnectPath(const QString& path);
  QString ConnectPath() const;

  // Connects or disconnects. Connecting to a path that does not exist throws DatabaseError naming
  // the path; nothing is created.
  void SetConnected(bool connected);
  bool IsConnected() const;

  // True when the upper-cased connect path contains ".ADD".
  bool IsDictionary() const;
  Backend BackendKind() const;

  // Whether the database marks the table (name without extension, any case) as encrypted.
  bool IsEncryptedTable(const QString& table) const;
  // Throws DatabaseError when the password is not the table's (only meaningful for encrypted
  // tables on a free-table connection).
  void CheckTablePassword(const QString& table, const QString& password) const;
  // Marks a table encrypted with the password (used by the demo company and by tests).
  void MarkTableEncrypted(const QString& table, const QString& password);

  // Whether the table exists (name without extension, any case).
  bool HasTable(const QString& table) const;

  // Transactions nest: only the outermost Commit commits. Rollback is never used by the
  // extraction (what was computed before an error stays, see TransactionScope).
  void BeginTransaction();
  void CommitTransaction();
  bool InTransaction() const;

  // The Qt SQL handle, for the layer itself and for code that creates tables (demo, tests).
  QSqlDatabase Database() const;

  // A directory for this database's lock files (SQLite: "<file>.locks" beside the file).
  QString LockDirectory() const;

 private:
  struct Private;
  std::unique_ptr<Private> d;
};

// Opens a transaction and commits it when the scope ends, also when an exception leaves it, so
// that what was written before an error stays written, while a run is not one commit per row.
class TransactionScope {
 public:
  explicit TransactionScope(Connection& connection) : m_connection(connection) {
    m_connection.BeginTransaction();
  }
  ~TransactionScope() noexcept(false) {
    if (m_open) m_connection.CommitTransaction();
  }
  void Commit() {
    m_open = false;
    m_connection.CommitTransaction();
  }
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;

 private:
  Connection& m_connection;
  bool m_open = true;
};

// The table name as the module names it ("RPTRX.ADT", "ALLOWNCE.adt") without its extension.
QString TableNameWithoutExtension(const QString& name);

}  // namespace tarno::db
