// The zip container of a workbook: its parts by name, the media-type table, and the only place that
// reads and writes the zip file. Parts keep their order; "[Content_Types].xml" and "_rels/.rels" are
// written first, as office suites expect. A part's content is bytes in memory or, for large streamed
// parts, a file on disk that is copied into the zip when the package is written.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include "xlsx/ContentTypes.h"
#include "xlsx/Relationships.h"

namespace tarno::xlsx {

class Package {
 public:
  Package() = default;
  // Throws tarno::OutputError naming path when it is missing or no zip package.
  static Package Read(const QString& path);

  QStringList PartNames() const;
  bool Contains(const QString& partName) const;
  // Throws tarno::OutputError naming the part when it is absent or stored in a file.
  QByteArray Data(const QString& partName) const;
  // Adds or replaces a part; mediaType, when given, becomes its override in the media-type table.
  void SetData(const QString& partName, const QByteArray& data, const QString& mediaType = QString());
  // The part's content is the file's at the time the package is written; the file must stay until then.
  void SetFile(const QString& partName, const QString& filePath);
  // Removes the part, its own relationships part and its media-type override.
  void Remove(const QString& partName);

  // The relationships of a part ("" = the package's own); empty when it has none.
  Relationships RelationshipsOf(const QString& sourcePart) const;
  // Stores them, or removes the relationships part when rels is empty.
  void SetRelationshipsOf(const QString& sourcePart, const Relationships& rels);

  ContentTypes& Types() { return m_types; }
  const ContentTypes& Types() const { return m_types; }

  // Writes the zip to a temporary file beside path and renames it over path. Throws
  // tarno::OutputError naming path when that fails; an existing file at path is then untouched.
  void Write(const QString& path) const;

 private:
  struct Part {
    QString name;
    QByteArray data;
    QString filePath;  // non-empty: content comes from this file
  };
  int IndexOf(const QString& partName) const;

  QVector<Part> m_parts;  // without "[Content_Types].xml", which m_types holds
  ContentTypes m_types;
};

}  // namespace tarno::xlsx
