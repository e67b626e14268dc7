// What every open table or query offers: navigation, field access by name, edit/append/post,
// and the AfterOpen and OnCalcFields events.
//
// Field reads: character values come back without trailing blanks; numbers read from text that
// is not a number, or a field the dataset does not have, throw DatabaseError naming the dataset
// and the field. A null number reads as 0, a null text as "", a null date as an invalid QDate.
// Dates are stored as ISO text "YYYY-MM-DD".
//
// Calculated fields (declared with AddCalculatedField before Open) start empty for each record
// and are filled by OnCalcFields; a text longer than the field's width is cut to the width.
// Data fields can be given a width too (SetFieldWidth): a longer value is cut when read.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

#include "context/Currency.h"

namespace tarno::db {

class Connection;

enum class DatasetState { Inactive, Browse, Edit, Insert };
enum class FieldKind { String, Float, Currency, Integer, Date };

class Dataset {
 public:
  explicit Dataset(Connection& connection);
  virtual ~Dataset();
  Dataset(const Dataset&) = delete;
  Dataset& operator=(const Dataset&) = delete;

  Connection& connection() const;
  // For error texts: "table RPTRX" or "the statement 'SELECT ...'".
  virtual QString DisplayName() const = 0;

  void Open();  // runs AfterOpen afterwards; the first record is current
  void Close();
  bool IsOpen() const;

  void First();
  void Next();
  bool Eof() const;
  int RecordCount() const;

  // Semicolon-separated field names; orders the open result (an empty value keeps the stored or
  // statement order). For a table it is also the key of FindKey, FindNearest and SetRange.
  void SetIndexFieldNames(const QString& names);
  QString IndexFieldNames() const;

  QStringList FieldNames() const;
  bool HasField(const QString& name) const;
  QVariant FieldValue(const QString& name) const;  // raw value, null when null
  bool FieldIsNull(const QString& name) const;
  QString FieldAsString(const QString& name) const;
  double FieldAsFloat(const QString& name) const;
  Currency FieldAsCurrency(const QString& name) const;
  int FieldAsInteger(const QString& name) const;
  QDate FieldAsDate(const QString& name) const;

  // Writes need the Edit or Insert state (calculated fields may be written in OnCalcFields).
  void SetFieldString(const QString& name, const QString& value);
  void SetFieldFloat(const QString& name, double value);
  void SetFieldValue(const QString& name, const QVariant& value);

  void Edit();
  void Append();
  void Post();
  void Cancel();
  DatasetState State() const;
  bool InEditState() const;  // Edit or Insert

  void AddCalculatedField(const QString& name, FieldKind kind, int width = 0);
  void SetFieldWidth(const QString& name, int width);

  std::function<void(Dataset&)> AfterOpen;
  std::function<void(Dataset&)> OnCalcFields;

 protected:
  struct Private;
  std::unique_ptr<Private> d;
  // Implemented by Table and Query: fetch the rows (and their row identities when writable).
  virtual void DoOpen() = 0;
  // Implemented by Table and live Query: write the current record back.
  virtual void DoPost() = 0;
};

}  // namespace tarno::db
