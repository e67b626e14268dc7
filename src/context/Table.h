// A table opened whole, in the order of its IndexFieldNames, with keyed search and ranges.
//
// Opening takes the table's shared lock; with SetExclusive(true) it takes the exclusive lock
// without waiting, and is refused while any other connection (of this or another process) has the
// table open. On a free-table connection an encrypted table must be given the password with
// EnableEncryption right after Open before any record is read or written.
#pragma once

#include <QVariantList>

#include "context/Dataset.h"

namespace tarno::db {

class Table : public Dataset {
 public:
  explicit Table(Connection& connection, const QString& tableName = QString());
  ~Table() override;

  QString DisplayName() const override;

  // "RPTRX.ADT" and "RPTRX" name the same table; only while closed.
  void SetTableName(const QString& name);
  QString TableName() const;
  void SetExclusive(bool exclusive);
  bool Exclusive() const;

  void EnableEncryption(const QString& password);

  // True when a record with exactly these leading key values exists; it becomes current.
  // False leaves the current record where it was.
  bool FindKey(const QVariantList& values);
  // The first record whose key is not less than the values (end of data when none is).
  void FindNearest(const QVariantList& values);
  // Both keys inclusive, on the leading key fields.
  void SetRange(const QVariantList& startKey, const QVariantList& endKey);
  void CancelRange();

  // Both need the table open with Exclusive true.
  void EmptyTable();
  void PackTable();

 protected:
  void DoOpen() override;
  void DoPost() override;

 private:
  struct TablePrivate;
  std::unique_ptr<TablePrivate> t;
};

}  // namespace tarno::db
