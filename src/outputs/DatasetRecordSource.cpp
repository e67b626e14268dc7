// Adapts a db::Dataset to the template filler's forward-only record interface.
#include "outputs/DatasetRecordSource.h"

#include <QMetaType>

#include "context/FieldValues.h"

namespace tarno::outputs {
QVariant TypedFieldValue(const db::Dataset& dataset, const QString& fieldName,
                         std::optional<db::FieldKind> kind) {
  if (dataset.FieldIsNull(fieldName)) return QVariant();
  if (kind.has_value()) {
    switch (*kind) {
      case db::FieldKind::String:
        return dataset.FieldAsString(fieldName);
      case db::FieldKind::Float:
        return dataset.FieldAsFloat(fieldName);
      case db::FieldKind::Currency:
        return dataset.FieldAsCurrency(fieldName).ToDouble();
      case db::FieldKind::Integer:
        return static_cast<qint64>(dataset.FieldAsInteger(fieldName));
      case db::FieldKind::Date: {
        const QDate date = dataset.FieldAsDate(fieldName);
        return date.isValid() ? QVariant(date) : QVariant();
      }
    }
  }
  const QVariant raw = dataset.FieldValue(fieldName);
  if (db::detail::IsNumberValue(raw))
    return raw.typeId() == QMetaType::Double || raw.typeId() == QMetaType::Float ? QVariant(raw.toDouble())
                                                                                 : QVariant(raw.toLongLong());
  if (raw.typeId() == QMetaType::QDate) return raw;
  // Text goes through the layer's string read, which drops trailing blanks and applies widths.
  return dataset.FieldAsString(fieldName);
}

DatasetRecordSource::DatasetRecordSource(db::Dataset& dataset, QHash<QString, db::FieldKind> fieldKinds)
    : m_dataset(dataset), m_fieldNames(dataset.FieldNames()) {
  m_kinds.reserve(m_fieldNames.size());
  for (const QString& name : m_fieldNames) {
    const auto found = fieldKinds.constFind(name.toUpper());
    m_kinds.push_back(found == fieldKinds.constEnd() ? std::nullopt : std::optional(found.value()));
  }
}

QStringList DatasetRecordSource::FieldNames() const {
  return m_fieldNames;
}

bool DatasetRecordSource::Next() {
  if (!m_started) {
    m_started = true;
    m_dataset.First();
  } else if (!m_dataset.Eof()) {
    m_dataset.Next();
  }
  if (m_dataset.Eof()) return false;
  ++m_recordsRead;
  return true;
}

QVariant DatasetRecordSource::Value(int fieldIndex) const {
  if (fieldIndex < 0 || fieldIndex >= m_fieldNames.size()) return QVariant();
  return TypedFieldValue(m_dataset, m_fieldNames.at(fieldIndex),
                         m_kinds.at(static_cast<std::size_t>(fieldIndex)));
}

}  // namespace tarno::outputs
