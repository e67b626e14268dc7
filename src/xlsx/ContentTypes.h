// The package's "[Content_Types].xml": the media type of every part, by extension (Default) or by
// part name (Override). Part names here have no leading "/".
#pragma once

#include <QByteArray>
#include <QString>
#include <pugixml.hpp>

namespace tarno::xlsx {

namespace media {
inline constexpr const char* kWorkbook =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
inline constexpr const char* kWorksheet =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
inline constexpr const char* kSharedStrings =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
inline constexpr const char* kStyles =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
inline constexpr const char* kPivotCacheDefinition =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheDefinition+xml";
inline constexpr const char* kPivotCacheRecords =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheRecords+xml";
inline constexpr const char* kPivotTable =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.pivotTable+xml";
inline constexpr const char* kRelationships = "application/vnd.openxmlformats-package.relationships+xml";
inline constexpr const char* kCoreProperties = "application/vnd.openxmlformats-package.core-properties+xml";
inline constexpr const char* kExtendedProperties =
    "application/vnd.openxmlformats-officedocument.extended-properties+xml";
}  // namespace media

class ContentTypes {
 public:
  ContentTypes();  // Defaults for rels and xml, no overrides
  explicit ContentTypes(const QByteArray& xml);

  QString TypeOf(const QString& partName) const;  // the override, else the extension's default
  void SetOverride(const QString& partName, const QString& mediaType);
  void RemoveOverride(const QString& partName);
  bool HasOverride(const QString& partName) const;
  QByteArray ToXml() const;

 private:
  pugi::xml_document m_doc;
};

}  // namespace tarno::xlsx
