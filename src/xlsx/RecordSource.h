// The records that the template filler writes: a forward-only cursor over named fields.
// Order of calls: FieldNames() once, then Next() until it returns false, reading Value() for
// each field of the current record in between.
#pragma once

#include <QStringList>
#include <QVariant>

namespace tarno::xlsx {

class RecordSource {
 public:
  virtual ~RecordSource() = default;
  // The names a template refers to after "=qryAll_"; matched case-insensitively.
  virtual QStringList FieldNames() const = 0;
  // The first call moves to the first record; false once past the last record.
  virtual bool Next() = 0;
  // QString, double, qint64/int, QDate, or a null QVariant (an empty cell). fieldIndex is 0-based.
  virtual QVariant Value(int fieldIndex) const = 0;
};

}  // namespace tarno::xlsx
