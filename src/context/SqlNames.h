// What the layer needs to know of an SQL text without a parser: the tables it names (after FROM,
// JOIN, UPDATE, INTO, with comma lists and aliases), its named parameters (":PERIOD"), and quoting
// of identifiers. Quoted strings and comments are skipped.
#pragma once

#include <QString>
#include <QStringList>

namespace tarno::db::detail {

// Upper-case table names without extension, each once, in order of appearance.
QStringList TablesNamedInStatement(const QString& sql);

// Parameter names as written (without the colon), each once, in order of appearance.
QStringList PlaceholdersInStatement(const QString& sql);

// True when the text is one SELECT over exactly one table, with no join, grouping, DISTINCT or
// UNION: its rows map one to one to that table's rows.
bool IsSingleTableSelect(const QString& sql);

// True when the first word makes the text one that yields rows (SELECT, WITH, VALUES, PRAGMA,
// EXPLAIN), so that opening it cannot change data.
bool YieldsRows(const QString& sql);

// "NAME" with embedded quotes doubled.
QString QuoteIdentifier(const QString& name);

}  // namespace tarno::db::detail
