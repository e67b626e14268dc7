// The payroll database tables as this module knows them: names, columns in order with their types
// and widths, indexes and whether the table is encrypted; and the portable DDL that creates them.
// The data lives in one place (TableDescriptions.cpp); everything else reads it through AllTables()
// and DescribeTable().
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tarno::db {
class Connection;
}

namespace tarno::schema {

enum class ColumnType { Char, Currency, Double, Integer, Date, Number, Memo };

struct ColumnDescription {
  QString name;
  ColumnType type;
  int width = 0;  // characters, for Char columns only; 0 otherwise
};

struct IndexDescription {
  QString name;        // the index's own name, unique within its table
  QStringList fields;  // in key order
  bool unique = false;
};

struct TableDescription {
  QString name;  // upper case, without extension
  QList<ColumnDescription> columns;
  QList<IndexDescription> indexes;
  bool encrypted = false;  // opened with the table password on a free-table connection

  // The column of that name (any case), or nullptr.
  const ColumnDescription* Column(const QString& name) const;
};

// Every table of the payroll database, in a fixed order.
const QList<TableDescription>& AllTables();

// The table named "RPTRX", "rptrx.adt", ... (case and extension ignored). Throws tarno::Error for
// a table this module does not know.
const TableDescription& DescribeTable(const QString& name);

// The column's SQL type: CHAR(n), NUMERIC(19,4), DOUBLE PRECISION, INTEGER, DATE or TEXT.
QString SqlType(const ColumnDescription& column);

// CREATE TABLE with every identifier double-quoted, valid on SQLite and PostgreSQL.
QString CreateTableSql(const TableDescription& table);
// One CREATE [UNIQUE] INDEX per index; index names are prefixed with the table name, since index
// names share one namespace per database.
QStringList CreateIndexSql(const TableDescription& table);

// Creates the table and its indexes through the connection, and marks it encrypted with the
// password when the description says so. Throws tarno::DatabaseError naming the table and the
// statement when the database refuses.
void CreateTable(db::Connection& connection, const TableDescription& table, const QString& tablePassword);
void CreateAllTables(db::Connection& connection, const QString& tablePassword);

}  // namespace tarno::schema
