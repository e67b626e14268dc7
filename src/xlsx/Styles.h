// The styles part ("xl/styles.xml"): number formats, fonts, borders and the cell formats (xf) that
// cells refer to by index. Changes derive a new cell format from a cell's present one, so that a
// cell keeps everything else it had; equal derivations share one new format.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <pugixml.hpp>

#include "xlsx/BorderStyle.h"

namespace tarno::xlsx {

class Styles {
 public:
  Styles();  // a minimal table: one font, the two required fills, one border, cell format 0
  explicit Styles(const QByteArray& xml);

  int CellFormatCount() const;
  // The id of a number format code: built-in ids for the codes Excel knows by number ("0.00" is 2,
  // "#,##0.00" is 4, "General" is 0), else the custom format's id, added when new (164 and up).
  int NumberFormatId(const QString& code);
  // True when cell format xf shows its number as a date or time.
  bool IsDateFormat(int xf) const;

  int WithNumberFormat(int xf, const QString& code);
  int WithWrapText(int xf, bool wrap);
  int WithBorders(int xf, bool top, bool bottom, BorderStyle style);
  int WithFont(int xf, bool bold, double size);  // size 0 keeps the size

  bool IsModified() const { return m_modified; }
  QByteArray ToXml() const;

 private:
  pugi::xml_node Section(const char* name);  // created in schema order when absent
  pugi::xml_node CellFormat(int xf) const;
  int AppendCellFormat(const pugi::xml_node& format, const QString& cacheKey);
  pugi::xml_node ItemAt(const char* section, const char* item, int index) const;
  int AppendItem(const char* section, const pugi::xml_node& item);

  pugi::xml_document m_doc;
  QHash<QString, int> m_derived;  // "base|change" -> derived cell format
  bool m_modified = false;
};

}  // namespace tarno::xlsx
