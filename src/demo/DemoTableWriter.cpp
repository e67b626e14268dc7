// Positional binding of one prepared statement per table.
#include "demo/DemoTableWriter.h"

#include <QSqlError>
#include <QStringList>

#include "context/Connection.h"
#include "context/Errors.h"

namespace tarno::demo {

DemoTableWriter::DemoTableWriter(db::Connection& connection, const QString& table)
    : m_table(schema::DescribeTable(table)), m_query(connection.Database()) {
  QStringList names;
  QStringList marks;
  for (int i = 0; i < m_table.columns.size(); ++i) {
    const schema::ColumnDescription& column = m_table.columns.at(i);
    names.append(QLatin1Char('"') + column.name + QLatin1Char('"'));
    marks.append(QStringLiteral("?"));
    m_columnIndex.insert(column.name.toUpper(), i);
    const bool numeric = column.type != schema::ColumnType::Char && column.type != schema::ColumnType::Date &&
                         column.type != schema::ColumnType::Memo;
    m_defaults.append(numeric ? QVariant(0) : QVariant());
  }
  m_values = m_defaults;
  const QString sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                          .arg(m_table.name, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
  if (!m_query.prepare(sql))
    throw DatabaseError(QStringLiteral("The demo company cannot write table %1: preparing \"%2\" failed: %3.")
                            .arg(m_table.name, sql, m_query.lastError().text()));
}

DemoTableWriter& DemoTableWriter::Set(const QString& column, const QVariant& value) {
  const auto found = m_columnIndex.constFind(column.toUpper());
  if (found == m_columnIndex.constEnd())
    throw DatabaseError(QStringLiteral("The demo company writes a column %1 that table %2 does not have.")
                            .arg(column, m_table.name));
  m_values[*found] = value;
  return *this;
}

void DemoTableWriter::Insert() {
  for (int i = 0; i < m_values.size(); ++i) m_query.bindValue(i, m_values.at(i));
  if (!m_query.exec())
    throw DatabaseError(QStringLiteral("The demo company cannot write a row of table %1: %2.")
                            .arg(m_table.name, m_query.lastError().text()));
  m_values = m_defaults;
  ++m_rows;
}

}  // namespace tarno::demo
