// A relationships part ("xl/_rels/workbook.xml.rels"): the links from one part to others, by id.
// Targets are stored as written (relative to the source part's folder, or absolute with "/");
// ResolveTarget turns them into package part names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace tarno::xlsx {

namespace reltype {
inline constexpr const char* kOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr const char* kWorksheet =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr const char* kSharedStrings =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
inline constexpr const char* kStyles =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr const char* kPivotCacheDefinition =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/pivotCacheDefinition";
inline constexpr const char* kPivotCacheRecords =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/pivotCacheRecords";
inline constexpr const char* kPivotTable =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/pivotTable";
inline constexpr const char* kCoreProperties =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
inline constexpr const char* kExtendedProperties =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";
}  // namespace reltype

struct Relationship {
  QString id;      // "rId3"
  QString type;    // one of reltype::
  QString target;  // as written in the part
  bool external = false;
};

class Relationships {
 public:
  Relationships() = default;
  explicit Relationships(const QByteArray& xml, const QString& partName = QString());

  // "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for the package ("").
  static QString PartNameFor(const QString& sourcePart);
  // The part name a target of sourcePart denotes: "worksheets/sheet1.xml" of "xl/workbook.xml"
  // is "xl/worksheets/sheet1.xml"; "../pivotCache/x.xml" and "/xl/x.xml" are resolved too.
  static QString ResolveTarget(const QString& sourcePart, const QString& target);
  // The target text that sourcePart writes for partName (relative to its folder).
  static QString RelativeTarget(const QString& sourcePart, const QString& partName);

  const QVector<Relationship>& All() const { return m_items; }
  const Relationship* FindById(const QString& id) const;
  QVector<Relationship> OfType(const QString& type) const;
  QString Add(const QString& type, const QString& target);  // returns the new id
  void Remove(const QString& id);
  bool IsEmpty() const { return m_items.isEmpty(); }
  QByteArray ToXml() const;

 private:
  QVector<Relationship> m_items;
};

}  // namespace tarno::xlsx
