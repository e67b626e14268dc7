// Detail rows held for the sources.
#include "extraction/DetailRows.h"

#include "context/Dataset.h"
#include "context/Errors.h"
#include "context/FieldValues.h"

namespace tarno::extraction {

DetailRows::DetailRows(const QStringList& fields, const QString& source) : m_source(source) {
  auto index = std::make_shared<QHash<QString, int>>();
  for (int i = 0; i < fields.size(); ++i) index->insert(fields.at(i).toUpper(), i);
  m_index = std::move(index);
}

void DetailRows::Append(QVariantList values) {
  for (QVariant& value : values) db::detail::TrimTextValue(value);
  m_rows.push_back(std::move(values));
}

int DetailRows::IndexOf(const QString& field) const {
  const int index = m_index ? m_index->value(field.toUpper(), -1) : -1;
  if (index < 0)
    throw DatabaseError(QStringLiteral("The field %1 is not in the result of %2.").arg(field, m_source));
  return index;
}

QString DetailRows::Text(int row, const QString& field) const {
  const QVariant& value = m_rows.at(static_cast<std::size_t>(row)).at(IndexOf(field));
  return value.isNull() ? QString() : value.toString();
}

double DetailRows::Number(int row, const QString& field) const {
  const QVariant& value = m_rows.at(static_cast<std::size_t>(row)).at(IndexOf(field));
  if (value.isNull()) return 0;
  bool ok = false;
  const double number = db::detail::NumberOf(value, &ok);
  if (!ok)
    throw DatabaseError(QStringLiteral("The value '%1' of the field %2 in the result of %3 is not a number.")
                            .arg(value.toString(), field, m_source));
  return number;
}

void PeriodDetailRows::Load(db::Dataset& result, const QString& source) {
  m_groups.clear();
  const QStringList fields = result.FieldNames();
  m_empty = DetailRows(fields, source);
  result.First();
  while (!result.Eof()) {
    QVariantList values;
    values.reserve(fields.size());
    for (const QString& field : fields) values.append(result.FieldValue(field));
    const QString key = result.FieldAsString(QStringLiteral("EMPCODE")) + QChar(0x1f) +
                        result.FieldAsString(QStringLiteral("CYCLE"));
    auto it = m_groups.find(key);
    if (it == m_groups.end()) it = m_groups.insert(key, m_empty);  // shares the field index
    it->Append(std::move(values));
    result.Next();
  }
  m_loaded = true;
}

const DetailRows& PeriodDetailRows::Of(const QString& empCode, const QString& cycle) const {
  const auto it = m_groups.constFind(empCode + QChar(0x1f) + cycle);
  return it == m_groups.constEnd() ? m_empty : it.value();
}

}  // namespace tarno::extraction
