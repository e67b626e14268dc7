// The inner state of an open table or query, shared by Dataset, Table and Query: the fetched rows
// (row-major, one QVariant per data field), the order of the rows by IndexFieldNames, the range
// bounds, the current position, the edit buffer and the calculated fields of the current record.
//
// Positions: `order` holds row indexes in key order; the range is order[lo, hi) (hi exclusive);
// `pos` is the current position, and pos == hi is end of data. Reading at end of data shows the
// last record of the range, as the component layer always has.
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <vector>

#include "context/Dataset.h"

class QSqlQuery;

namespace tarno::db {

class StoredRowWriter;

struct FieldInfo {
  QString name;  // as the database returns it, or as declared
  FieldKind kind = FieldKind::String;
  bool calculated = false;  // filled by OnCalcFields, never stored
  bool numeric = false;     // the column holds numbers (decides key comparison and writes)
  int width = 0;            // 0 == no limit; longer texts are cut when read
};

struct Dataset::Private {
  explicit Private(Connection& c) : connection(c) {}

  Connection& connection;
  bool open = false;
  DatasetState state = DatasetState::Inactive;
  QString indexFieldNames;

  // Fields: the data fields first (dataCount of them), then the calculated ones.
  std::vector<FieldInfo> fields;
  int dataCount = 0;
  QHash<QString, int> fieldIndex;  // name as returned and upper-cased -> index into fields
  // Declared before open, kept across opens.
  std::vector<FieldInfo> calculatedDeclared;
  QHash<QString, int> declaredWidths;  // upper-cased name -> width

  std::vector<QVariant> cells;  // rowCount * dataCount
  std::vector<qint64> rowIds;   // row identity per row (tables and live queries), else empty
  std::vector<int> order;
  std::vector<int> keyColumns;  // field indexes of IndexFieldNames
  bool hasRange = false;
  QVariantList rangeStart, rangeEnd;
  int lo = 0, hi = 0, pos = 0;

  // Edit and Insert: the record being changed, and which data fields were written.
  std::vector<QVariant> buffer;
  std::vector<char> changed;
  int editRow = -1;  // the row being edited; -1 while inserting

  std::vector<QVariant> calcValues;  // of the record calcRow
  int calcRow = -2;                  // -2 == not computed
  bool inCalc = false;

  // Non-empty: records cannot be read or written (an encrypted table without its password).
  QString lockedMessage;
  // While rows are fetched: per data field, texts seen so far, so that repeated codes share one
  // string (a large result keeps far less memory). Dropped after the open.
  std::vector<QHash<QString, QString>> sharedTexts;
  // Called by Close before the rows are dropped (a table releases its lock).
  std::function<void()> onClose;
  // Set by a table's open: reads its rows when they are first needed, so that a table opened
  // only to be emptied (the report table when the dialog opens) never holds them in memory.
  std::function<void()> fetchRows;

  // --- Filled by DoOpen. ---
  void ResetData();
  void SetDataFields(std::vector<FieldInfo> dataFields);
  void AddRow(std::vector<QVariant>& values, qint64 rowId);
  // Runs a pending fetchRows, then orders the rows and moves to the first of the range.
  void EnsureFetched();
  // Reads every row of an executed statement: the data values from column `first` on, the row
  // identity from column 0 when `first` is 1. Answers per data column what was seen:
  // 0 == only nulls, 1 == only numbers, 2 == something else.
  std::vector<char> FetchRows(QSqlQuery& query, int first);

  // --- Used by Dataset and the subclasses. ---
  int RowCount() const { return dataCount == 0 ? 0 : static_cast<int>(cells.size() / dataCount); }
  const QVariant& Cell(int row, int column) const {
    return cells[static_cast<size_t>(row) * dataCount + column];
  }
  int FieldIndex(const QString& name) const;  // -1 when unknown
  int CurrentRow() const;                     // the row shown, -1 when none
  void ResolveKeyColumns(const QString& owner);
  void Sort();
  void ApplyRange();
  int LowerBound(const QVariantList& key) const;  // first position in order whose key >= key
  int UpperBound(const QVariantList& key) const;  // first position in order whose key > key
  int CompareRowToKey(int row, const QVariantList& key) const;
  int PositionOfRow(int row) const;
  int InsertPosition(int row) const;  // after every row whose key is not greater
  // The field's index; throws when closed, locked or unknown. action: "read" or "written".
  int RequireField(const Dataset& owner, const QString& name, const char* action) const;
  // Computes the calculated fields of the current record on first read.
  void EnsureCalculated(Dataset& owner);
  // Throws unless open, unlocked and keyed; operation names the caller in the message.
  void RequireKeyed(const QString& table, const char* operation) const;
  // Memory after a successful write: the edited row, or a new row with its identity.
  void StoreEdit();
  void StoreInsert(std::vector<QVariant> values, qint64 rowId);
  // Writes the edited or appended record through the writer, then keeps it in memory.
  void PostThrough(StoredRowWriter& writer);
};

}  // namespace tarno::db
