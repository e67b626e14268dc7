// Writes records of a dataset back to its stored table by row identity (SQLite's rowid): UPDATE of
// the changed columns, INSERT of a new record, and the read-back of a new record so that defaults
// the database filled in show in memory. Statements are prepared once per set of columns.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace tarno::db {

class StoredRowWriter {
 public:
  // columns: the dataset's data fields, which are columns of the table.
  StoredRowWriter(QSqlDatabase database, const QString& table, const QStringList& columns);

  // changed[i] != 0: column i gets values[i]. Nothing is run when no column changed.
  void Update(qint64 rowId, const std::vector<QVariant>& values, const std::vector<char>& changed);
  // Returns the new record's row identity.
  qint64 Insert(const std::vector<QVariant>& values, const std::vector<char>& changed);
  // The stored values of the columns for a row identity.
  std::vector<QVariant> Read(qint64 rowId);

 private:
  QSqlQuery& Prepared(const QString& sql);

  QSqlDatabase m_database;
  QString m_table;  // as named by the module, for messages
  QStringList m_columns;
  QHash<QString, QSqlQuery> m_statements;  // SQL text -> prepared statement
};

}  // namespace tarno::db
