// A workbook: its sheets, defined names, active sheet, shared strings and styles over an OOXML
// package. Parts this class does not understand (pivot tables, drawings, themes ...) pass through
// unchanged. Order of use: Open or CreateNew, read and write, SaveAs (atomic: written beside the
// target, then renamed into place).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "xlsx/Worksheet.h"

namespace tarno::xlsx {

class Package;
class Relationships;
class SharedStrings;
class Styles;

class Workbook {
 public:
  // Throws tarno::OutputError naming the file when it is missing or no workbook.
  static Workbook Open(const QString& path);
  static Workbook CreateNew(const QString& firstSheetName = QStringLiteral("Sheet1"));

  Workbook(Workbook&&) noexcept;
  Workbook& operator=(Workbook&&) noexcept;
  ~Workbook();

  int SheetCount() const;
  QString SheetName(int index) const;         // 0-based
  int SheetIndex(const QString& name) const;  // case-insensitive; -1 when absent
  Worksheet& Sheet(int index);                // throws tarno::OutputError when out of range
  Worksheet& Sheet(const QString& name);      // throws tarno::OutputError naming the sheet
  Worksheet& AddSheet(const QString& name);   // appended last
  QString ActiveSheet() const;
  void SetActiveSheet(const QString& name);  // throws tarno::OutputError naming the sheet

  // Workbook-wide defined names: the formula text without "=", e.g. "Data!$A$5:$AV$6".
  QStringList DefinedNames() const;
  QString DefinedName(const QString& name) const;  // case-insensitive; empty when absent
  void SetDefinedName(const QString& name, const QString& formula);

  // Written to a temporary file beside path, then renamed over it; throws tarno::OutputError naming
  // path when it cannot be written, and leaves an existing file at path untouched.
  void SaveAs(const QString& path);

  // For the layer itself (pivot caches, the template filler).
  Package& Parts();
  QString SheetPartName(int index) const;  // "xl/worksheets/sheet1.xml"
  // Replaces a sheet's XML by the content of a file (streamed output); the in-memory sheet is dropped.
  void ReplaceSheetXmlWithFile(int index, const QString& filePath);
  SharedStrings& Strings();
  Styles& CellStyles();
  QString WorkbookPartName() const;        // "xl/workbook.xml"
  pugi::xml_document& WorkbookDocument();  // the workbook part, written back on save
  Relationships& WorkbookRelationships();  // its relationships, written back on save
  // A child of the workbook element ("pivotCaches", "definedNames"), created in schema order when absent.
  pugi::xml_node WorkbookElement(const char* localName);

 private:
  struct Private;
  explicit Workbook(std::unique_ptr<Private> d);
  std::unique_ptr<Private> d;
};

}  // namespace tarno::xlsx
