// The records of an open dataset as the template filler reads them: forward only, from the
// dataset's first record, each value typed as the field is (text, number, date or empty).
// Shared by the pivot workbook and the mapped workbook outputs.
#pragma once

#include <QHash>
#include <QStringList>
#include <optional>
#include <vector>

#include "context/Dataset.h"
#include "xlsx/RecordSource.h"

namespace tarno::outputs {

class DatasetRecordSource final : public xlsx::RecordSource {
 public:
  // The dataset must be open; it is rewound to its first record by the first Next().
  // fieldKinds names the fields whose type the stored value does not tell (dates stored as text,
  // currency stored as text by some backends); keys are upper-case field names. Fields not named
  // there are passed by the type of their stored value: numbers as numbers, the rest as text
  // without trailing blanks, null as an empty cell.
  explicit DatasetRecordSource(db::Dataset& dataset, QHash<QString, db::FieldKind> fieldKinds = {});

  QStringList FieldNames() const override;
  bool Next() override;
  QVariant Value(int fieldIndex) const override;

  // Records delivered so far.
  qint64 RecordsRead() const { return m_recordsRead; }

 private:
  db::Dataset& m_dataset;
  QStringList m_fieldNames;
  std::vector<std::optional<db::FieldKind>> m_kinds;  // per field index
  bool m_started = false;
  qint64 m_recordsRead = 0;
};

// The value of one field as the outputs write it; kind as in DatasetRecordSource.
QVariant TypedFieldValue(const db::Dataset& dataset, const QString& fieldName,
                         std::optional<db::FieldKind> kind);

}  // namespace tarno::outputs
