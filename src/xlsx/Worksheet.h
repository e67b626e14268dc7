// One worksheet of a workbook: its cells read and written in place. Texts written here go to the
// workbook's shared strings, formats to its styles; the sheet's XML stays a document in memory, so
// this class suits templates and small sheets (the template filler streams large data instead).
#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <pugixml.hpp>

#include "xlsx/BorderStyle.h"
#include "xlsx/CellReference.h"

namespace tarno::xlsx {

class SharedStrings;
class Styles;

class Worksheet {
 public:
  // Parses the sheet's XML; strings and styles are the workbook's, which outlives the sheet.
  Worksheet(const QString& name, const QByteArray& xml, SharedStrings& strings, Styles& styles);
  ~Worksheet();
  Worksheet(const Worksheet&) = delete;
  Worksheet& operator=(const Worksheet&) = delete;

  const QString& Name() const { return m_name; }

  // The cell's value: QString for texts (shared, inline, or a formula's cached text), double for
  // numbers, bool for booleans; null when the cell is empty or absent. A formula cell without a cached
  // value reads as its formula text with a leading "=".
  QVariant Value(const QString& cellRef) const;
  QString Formula(const QString& cellRef) const;  // without "="; empty when the cell holds no formula
  int StyleIndex(const QString& cellRef) const;   // 0 when the cell has no style of its own

  void SetText(const QString& cellRef, const QString& text);
  // numberFormat: e.g. "#,###0.00", "0.00"; empty keeps the cell's present format.
  void SetNumber(const QString& cellRef, double value, const QString& numberFormat = QString());
  // A formula (without "=") with its cached value, so readers that do not calculate see the value.
  void SetFormula(const QString& cellRef, const QString& formula, double cachedValue);
  void Clear(const QString& cellRef);  // removes value and formula; keeps the format
  void SetWrapText(const QString& cellRef, bool wrap);
  // Adds the given sides to the borders the cell already has, in the given style.
  void AddBorders(const QString& cellRef, bool top, bool bottom, BorderStyle style);
  void SetFont(const QString& cellRef, bool bold, double size = 0);  // size 0 keeps the size
  void SetColumnWidth(const QString& columnLetters, double width);   // width in characters
  void SetTabSelected(bool selected);

  // The highest row and column that hold a cell (0 when the sheet is empty).
  int LastRow() const;
  int LastColumn() const;

  // For the layer itself: the sheet's XML document and its serialised form.
  pugi::xml_document& Document() { return m_doc; }
  QByteArray ToXml() const;
  bool IsModified() const { return m_modified; }
  void MarkModified() { m_modified = true; }

 private:
  pugi::xml_node CellNode(const CellAddress& address, bool create);
  pugi::xml_node FindCell(const CellAddress& address) const;
  void SetCellStyle(pugi::xml_node cell, int styleIndex);

  QString m_name;
  pugi::xml_document m_doc;
  SharedStrings& m_strings;
  Styles& m_styles;
  bool m_modified = false;
};

}  // namespace tarno::xlsx
