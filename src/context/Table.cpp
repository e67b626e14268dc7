// A table read whole into memory at open, ordered by IndexFieldNames, with keyed search and
// ranges on that order; posts write through to the database at once by row identity.
//
// Open: the table must exist; its lock is taken (shared, or exclusive without waiting); its
// columns and rows are read; an encrypted table on a free-table connection stays unreadable until
// EnableEncryption gets its password.
#include "context/Table.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "context/Connection.h"
#include "context/DatasetPrivate.h"
#include "context/Errors.h"
#include "context/FieldValues.h"
#include "context/SqlNames.h"
#include "context/StoredRowWriter.h"
#include "context/TableLock.h"

namespace tarno::db {

using detail::QuoteIdentifier;

struct Table::TablePrivate {
  QString name;  // without extension, as given
  bool exclusive = false;
  TableLock lock;
  std::unique_ptr<StoredRowWriter> writer;  // while open
};

namespace {

// The column's kind from its declared type, by SQLite's affinity rules; dates are ISO text.
FieldInfo SqliteColumn(const QString& name, const QString& declaredType) {
  FieldInfo field;
  field.name = name;
  const QString type = declaredType.toUpper();
  if (type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME"))) {
    field.kind = FieldKind::Date;
  } else if (type.contains(QLatin1String("INT"))) {
    field.kind = FieldKind::Integer;
    field.numeric = true;
  } else if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
             type.contains(QLatin1String("TEXT")) || type.contains(QLatin1String("BLOB")) || type.isEmpty()) {
    field.kind = FieldKind::String;
  } else {
    field.kind = FieldKind::Float;  // REAL, DOUBLE, FLOAT, NUMERIC, DECIMAL, MONEY ...
    field.numeric = true;
  }
  return field;
}

std::vector<FieldInfo> ReadColumns(Connection& connection, const QString& table) {
  std::vector<FieldInfo> fields;
  QSqlDatabase db = connection.Database();
  if (connection.BackendKind() == Backend::Sqlite) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QuoteIdentifier(table))))
      throw DatabaseError(
          QStringLiteral("The columns of table %1 cannot be read: %2.").arg(table, query.lastError().text()));
    while (query.next()) fields.push_back(SqliteColumn(query.value(1).toString(), query.value(2).toString()));
    return fields;
  }
  const QSqlRecord record = db.record(table);
  for (int i = 0; i < record.count(); ++i) {
    FieldInfo field;
    field.name = record.fieldName(i);
    switch (record.field(i).metaType().id()) {
      case QMetaType::Int:
      case QMetaType::LongLong:
        field.kind = FieldKind::Integer;
        field.numeric = true;
        break;
      case QMetaType::Double:
        field.kind = FieldKind::Float;
        field.numeric = true;
        break;
      case QMetaType::QDate:
        field.kind = FieldKind::Date;
        break;
      default:
        break;
    }
    fields.push_back(field);
  }
  return fields;
}

}  // namespace

Table::Table(Connection& connection, const QString& tableName)
    : Dataset(connection), t(std::make_unique<TablePrivate>()) {
  t->name = TableNameWithoutExtension(tableName);
}

Table::~Table() {
  try {
    Close();
  } catch (...) {
    // Closing only drops memory and the lock; nothing worth reporting from a destructor.
  }
}

QString Table::DisplayName() const {
  return QStringLiteral("table ") + t->name.toUpper();
}

void Table::SetTableName(const QString& name) {
  if (IsOpen())
    throw DatabaseError(
        QStringLiteral("Table %1 is open: close it before naming it %2.").arg(t->name.toUpper(), name));
  t->name = TableNameWithoutExtension(name);
}

QString Table::TableName() const {
  return t->name;
}
void Table::SetExclusive(bool exclusive) {
  t->exclusive = exclusive;
}
bool Table::Exclusive() const {
  return t->exclusive;
}

void Table::DoOpen() {
  Connection& db = connection();
  const QString name = t->name.toUpper();
  if (name.isEmpty())
    throw DatabaseError(QStringLiteral("A table cannot be opened before it is given a name."));
  if (!db.IsConnected())
    throw DatabaseError(
        QStringLiteral("Table %1 cannot be opened: the database connection is not open.").arg(name));
  if (!db.HasTable(name))
    throw DatabaseError(
        QStringLiteral("Table %1 does not exist in the database %2.").arg(name, db.ConnectPath()));

  const QString lockDirectory = db.LockDirectory();
  if (!lockDirectory.isEmpty()) t->lock.Acquire(lockDirectory, name, t->exclusive);
  d->onClose = [this] {
    t->writer.reset();
    t->lock.Release();
  };

  std::vector<FieldInfo> fields = ReadColumns(db, t->name);
  QStringList columns;
  QStringList quoted;
  for (const FieldInfo& field : fields) {
    columns << field.name;
    quoted << QuoteIdentifier(field.name);
  }
  d->SetDataFields(std::move(fields));

  // The rows are read on first use (see Dataset::Private::fetchRows).
  const QString selectSql = QStringLiteral("SELECT rowid, %1 FROM %2")
                                .arg(quoted.join(QStringLiteral(", ")), QuoteIdentifier(t->name));
  d->fetchRows = [this, selectSql, name] {
    QSqlQuery query(connection().Database());
    query.setForwardOnly(true);
    if (!query.exec(selectSql))
      throw DatabaseError(QStringLiteral("Table %1 cannot be read: %2.").arg(name, query.lastError().text()));
    // A column declared without a numeric type that holds only numbers (a column without a
    // declared type) compares as numbers too.
    const std::vector<char> seen = d->FetchRows(query, 1);
    for (int i = 0; i < d->dataCount; ++i)
      if (seen[i] == 1) d->fields[i].numeric = true;
  };
  t->writer = std::make_unique<StoredRowWriter>(db.Database(), t->name, columns);

  if (!db.IsDictionary() && db.IsEncryptedTable(name))
    d->lockedMessage =
        QStringLiteral("Table %1 is encrypted: give the table password before reading it.").arg(name);
}

void Table::EnableEncryption(const QString& password) {
  if (!IsOpen())
    throw DatabaseError(
        QStringLiteral("Table %1 is not open: encryption can only be enabled on an open table.")
            .arg(t->name.toUpper()));
  if (connection().IsDictionary() || d->lockedMessage.isEmpty()) return;
  connection().CheckTablePassword(t->name, password);
  d->lockedMessage.clear();
}

bool Table::FindKey(const QVariantList& values) {
  d->EnsureFetched();
  d->RequireKeyed(t->name.toUpper(), "FindKey");
  if (InEditState()) Post();
  if (values.isEmpty()) return false;
  const int candidate = std::max(d->lo, d->LowerBound(values));
  if (candidate >= d->hi || d->CompareRowToKey(d->order[candidate], values) != 0) return false;
  d->pos = candidate;
  return true;
}

void Table::FindNearest(const QVariantList& values) {
  d->EnsureFetched();
  d->RequireKeyed(t->name.toUpper(), "FindNearest");
  if (InEditState()) Post();
  d->pos = std::clamp(d->LowerBound(values), d->lo, d->hi);
}

void Table::SetRange(const QVariantList& startKey, const QVariantList& endKey) {
  d->EnsureFetched();
  d->RequireKeyed(t->name.toUpper(), "SetRange");
  if (InEditState()) Post();
  d->hasRange = true;
  d->rangeStart = startKey;
  d->rangeEnd = endKey;
  d->ApplyRange();
  d->pos = d->lo;
}

void Table::CancelRange() {
  if (!IsOpen() || !d->hasRange) return;
  d->EnsureFetched();
  if (InEditState()) Post();
  const int row = d->pos < d->hi ? d->order[d->pos] : -1;
  d->hasRange = false;
  d->ApplyRange();
  const int position = row >= 0 ? d->PositionOfRow(row) : -1;
  d->pos = position >= 0 ? position : d->lo;
}

void Table::EmptyTable() {
  const QString name = t->name.toUpper();
  if (!IsOpen() || !t->exclusive)
    throw DatabaseError(
        QStringLiteral("Table %1 must be open for exclusive use before it is emptied.").arg(name));
  if (!d->lockedMessage.isEmpty()) throw DatabaseError(d->lockedMessage);
  Cancel();
  d->fetchRows = nullptr;  // emptied: rows never read need not be read now
  QSqlQuery query(connection().Database());
  if (!query.exec(QStringLiteral("DELETE FROM %1").arg(QuoteIdentifier(t->name))))
    throw DatabaseError(
        QStringLiteral("Table %1 cannot be emptied: %2.").arg(name, query.lastError().text()));
  std::vector<QVariant>().swap(d->cells);
  d->rowIds.clear();
  d->order.clear();
  d->ApplyRange();
  d->pos = 0;
  d->calcRow = -2;
}

void Table::PackTable() {
  // Deleted records take no room that a pack would give back here: SQLite reuses free pages.
  if (!IsOpen() || !t->exclusive)
    throw DatabaseError(QStringLiteral("Table %1 must be open for exclusive use before it is packed.")
                            .arg(t->name.toUpper()));
}

void Table::DoPost() {
  if (!t->writer)
    throw DatabaseError(
        QStringLiteral("Table %1 is not open: nothing can be posted.").arg(t->name.toUpper()));
  d->PostThrough(*t->writer);
}

}  // namespace tarno::db
