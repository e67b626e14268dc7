// Pivot table parts ("xl/pivotTables/pivotTable1.xml"): finding the tables of a cache, emptying their
// item lists when the cache is emptied, and creating a pivot table with its cache for the templates.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace tarno::xlsx {

class Package;
class Workbook;

class PivotTableDefinition {
 public:
  PivotTableDefinition(Package& package, const QString& partName);

  // The pivot table parts whose relationships point to the cache definition cachePart.
  static QStringList PartsUsingCache(const Package& package, const QString& cachePart);

  const QString& PartName() const { return m_partName; }
  QString Name() const;
  QList<int> RowFields() const;     // cache field indexes; -2 stands for the data values
  QList<int> ColumnFields() const;  // as RowFields
  QList<int> DataFields() const;

  // Makes the table consistent with a cache without records: every field's item list holds only its
  // default (subtotal) item, row and column item lists only the grand total, page fields select no
  // item. Office suites rebuild the items when they refresh the cache.
  void ClearItems();
  void Save();

 private:
  Package& m_package;
  QString m_partName;
  pugi::xml_document m_doc;
};

// A pivot table to create over a named source range, for building templates.
struct PivotTableLayout {
  QString sheetName;                          // the existing worksheet that shows the table
  QString anchorCell = QStringLiteral("A3");  // top left cell of the table
  QString tableName = QStringLiteral("PivotTable1");
  QString sourceName;          // defined name of the source range, e.g. "SourceRange"
  QStringList fieldNames;      // the source's header texts, in column order
  QList<int> rowFields;        // indexes into fieldNames, outermost first
  QList<int> columnFields;     // indexes into fieldNames
  int dataField = -1;          // summed field
  QString dataCaption;         // "Sum of AMOUNT"
  int dataNumberFormatId = 4;  // "#,##0.00"
};

// Adds a pivot cache (no records, refreshed on load) and a pivot table as the layout describes.
void AddPivotTable(Workbook& workbook, const PivotTableLayout& layout);

}  // namespace tarno::xlsx
