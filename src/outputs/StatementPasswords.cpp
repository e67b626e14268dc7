// Table passwords for the statements of the mapped workbooks.
#include "outputs/StatementPasswords.h"

#include "context/Connection.h"

namespace tarno::outputs {

void GiveStatementPasswords(db::Query& query, const QStringList& tables, const QString& password) {
  db::Connection& connection = query.connection();
  if (connection.IsDictionary()) return;
  for (const QString& table : tables) {
    if (connection.IsEncryptedTable(table)) query.SetTablePassword(table, password);
  }
}

}  // namespace tarno::outputs
