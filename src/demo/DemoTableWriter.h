// Writes rows into one table through a single prepared INSERT of all its columns, so that a large
// demo company is written at the speed of the database, not of statement parsing.
// Order of calls: construct, then per row Set(...)... Insert(); columns not set get their default:
// 0 for numeric columns, null for character and date columns.
#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include "context/Currency.h"
#include "schema/TableDescriptions.h"

namespace tarno::db {
class Connection;
}

namespace tarno::demo {

class DemoTableWriter {
 public:
  DemoTableWriter(db::Connection& connection, const QString& table);

  DemoTableWriter& Set(const QString& column, const QVariant& value);
  DemoTableWriter& Set(const QString& column, Currency value) {
    return Set(column, QVariant(value.ToDouble()));
  }
  DemoTableWriter& Set(const QString& column, const char* text) {
    return Set(column, QVariant(QString::fromUtf8(text)));
  }
  // Writes the row and resets every column to its default. Throws DatabaseError naming the table.
  void Insert();
  int RowsWritten() const { return m_rows; }

 private:
  const schema::TableDescription& m_table;
  QSqlQuery m_query;
  QHash<QString, int> m_columnIndex;  // upper-case name -> position
  QVector<QVariant> m_defaults;
  QVector<QVariant> m_values;
  int m_rows = 0;
};

}  // namespace tarno::demo
