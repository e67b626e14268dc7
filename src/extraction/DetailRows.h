// Detail rows as the sources read them: the result rows of one detail statement for one employee
// and pay run, and the whole period's result of a period-wide statement grouped by employee and
// pay run (each group in the statement's order).
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace tarno::db {
class Dataset;
}

namespace tarno::extraction {

class DetailRows {
 public:
  DetailRows() = default;
  // fields: the result's field names; source: for error texts ("the overtime statement").
  DetailRows(const QStringList& fields, const QString& source);

  // Values in the order of the field names; texts lose their trailing blanks.
  void Append(QVariantList values);
  int Size() const { return static_cast<int>(m_rows.size()); }
  bool IsEmpty() const { return m_rows.empty(); }

  // A field's value as text ("" for null) or as a number (0 for null); a field the result does
  // not have, or a text that is not a number, throws DatabaseError naming both.
  QString Text(int row, const QString& field) const;
  double Number(int row, const QString& field) const;

 private:
  int IndexOf(const QString& field) const;
  std::shared_ptr<const QHash<QString, int>> m_index;  // upper-cased field name -> position
  QString m_source;
  std::vector<QVariantList> m_rows;
};

class PeriodDetailRows {
 public:
  // Reads every row of an open dataset that has EMPCODE and CYCLE fields.
  void Load(db::Dataset& result, const QString& source);
  // The rows of one employee and pay run; an empty set when there are none.
  const DetailRows& Of(const QString& empCode, const QString& cycle) const;
  bool IsLoaded() const { return m_loaded; }

 private:
  QHash<QString, DetailRows> m_groups;  // EMPCODE + '\x1f' + CYCLE
  DetailRows m_empty;
  bool m_loaded = false;
};

}  // namespace tarno::extraction
