// UPDATE / INSERT / read-back by rowid, with statements prepared once per column set.
#include "context/StoredRowWriter.h"

#include <QSqlError>

#include "context/Errors.h"
#include "context/SqlNames.h"

namespace tarno::db {

using detail::QuoteIdentifier;

StoredRowWriter::StoredRowWriter(QSqlDatabase database, const QString& table, const QStringList& columns)
    : m_database(std::move(database)), m_table(table), m_columns(columns) {}

QSqlQuery& StoredRowWriter::Prepared(const QString& sql) {
  auto found = m_statements.find(sql);
  if (found != m_statements.end()) return found.value();
  QSqlQuery query(m_database);
  if (!query.prepare(sql))
    throw DatabaseError(QStringLiteral("The statement '%1' for table %2 cannot be prepared: %3.")
                            .arg(sql, m_table, query.lastError().text()));
  return m_statements.insert(sql, query).value();
}

void StoredRowWriter::Update(qint64 rowId, const std::vector<QVariant>& values,
                             const std::vector<char>& changed) {
  QStringList assignments;
  for (qsizetype i = 0; i < m_columns.size(); ++i)
    if (changed[i]) assignments << QuoteIdentifier(m_columns[i]) + QStringLiteral(" = ?");
  if (assignments.isEmpty()) return;
  QSqlQuery& query = Prepared(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                  .arg(QuoteIdentifier(m_table), assignments.join(QStringLiteral(", "))));
  int slot = 0;
  for (qsizetype i = 0; i < m_columns.size(); ++i)
    if (changed[i]) query.bindValue(slot++, values[i]);
  query.bindValue(slot, rowId);
  if (!query.exec())
    throw DatabaseError(
        QStringLiteral("A record of table %1 cannot be updated: %2.").arg(m_table, query.lastError().text()));
}

qint64 StoredRowWriter::Insert(const std::vector<QVariant>& values, const std::vector<char>& changed) {
  QStringList names;
  QStringList marks;
  for (qsizetype i = 0; i < m_columns.size(); ++i)
    if (changed[i]) {
      names << QuoteIdentifier(m_columns[i]);
      marks << QStringLiteral("?");
    }
  const QString sql = names.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QuoteIdentifier(m_table))
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(QuoteIdentifier(m_table), names.join(QStringLiteral(", ")),
                                     marks.join(QStringLiteral(", ")));
  QSqlQuery& query = Prepared(sql);
  int slot = 0;
  for (qsizetype i = 0; i < m_columns.size(); ++i)
    if (changed[i]) query.bindValue(slot++, values[i]);
  if (!query.exec())
    throw DatabaseError(QStringLiteral("A record cannot be appended to table %1: %2.")
                            .arg(m_table, query.lastError().text()));
  bool ok = false;
  const qint64 rowId = query.lastInsertId().toLongLong(&ok);
  if (!ok)
    throw DatabaseError(
        QStringLiteral("The database did not tell the identity of the record appended to table %1.")
            .arg(m_table));
  return rowId;
}

std::vector<QVariant> StoredRowWriter::Read(qint64 rowId) {
  QStringList names;
  for (const QString& column : m_columns) names << QuoteIdentifier(column);
  QSqlQuery& query = Prepared(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                  .arg(names.join(QStringLiteral(", ")), QuoteIdentifier(m_table)));
  query.bindValue(0, rowId);
  if (!query.exec() || !query.next())
    throw DatabaseError(QStringLiteral("A record just written to table %1 cannot be read back: %2.")
                            .arg(m_table, query.lastError().text()));
  std::vector<QVariant> values;
  values.reserve(m_columns.size());
  for (qsizetype i = 0; i < m_columns.size(); ++i) values.push_back(query.value(static_cast<int>(i)));
  query.finish();
  return values;
}

}  // namespace tarno::db
