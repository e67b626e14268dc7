// A pivot cache definition part ("xl/pivotCache/pivotCacheDefinition1.xml"): the pivot's source
// range, its fields with their shared items, and the link to its records part. The filler empties a
// cache so that office suites rebuild it from the source range when they open the workbook.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <pugixml.hpp>

namespace tarno::xlsx {

class Package;
class Workbook;

class PivotCacheDefinition {
 public:
  PivotCacheDefinition(Package& package, const QString& partName);

  // The cache definitions the workbook lists in <pivotCaches>, as part names.
  static QStringList PartsOf(Workbook& workbook);

  const QString& PartName() const { return m_partName; }
  QString SourceName() const;               // worksheetSource name="..." ; empty when the source is a ref
  QString SourceSheet() const;              // worksheetSource sheet="..."
  QString SourceRef() const;                // worksheetSource ref="..."
  void SetSourceName(const QString& name);  // drops ref and sheet
  QStringList FieldNames() const;
  bool RefreshOnLoad() const;
  QString RecordsPart() const;  // the records part it links to; empty when none

  // Removes the records part, the relationship to it and its media type, and the r:id that named it;
  // recordCount becomes 0, every field's shared items empty, and refreshOnLoad is set, so that the
  // cache is consistent with having no records and is rebuilt when the workbook is opened.
  void MakeEmptyAndRefreshOnLoad();

  void Save();  // writes the definition back into the package

 private:
  Package& m_package;
  QString m_partName;
  pugi::xml_document m_doc;
};

}  // namespace tarno::xlsx
