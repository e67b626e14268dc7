// Helpers for the workbook layer's tests: records held in memory, reading a part of a saved
// package, and running the checkers (openpyxl, LibreOffice) when they are installed.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <pugixml.hpp>

#include "xlsx/RecordSource.h"

namespace tarno::xlsx::test {

class VectorRecords : public RecordSource {
 public:
  VectorRecords(QStringList fields, QList<QVariantList> rows)
      : m_fields(std::move(fields)), m_rows(std::move(rows)) {}
  QStringList FieldNames() const override { return m_fields; }
  bool Next() override { return ++m_current < m_rows.size(); }
  QVariant Value(int fieldIndex) const override { return m_rows.at(m_current).value(fieldIndex); }

 private:
  QStringList m_fields;
  QList<QVariantList> m_rows;
  qsizetype m_current = -1;
};

// The bytes of one part of a saved package; empty when absent.
QByteArray ReadPart(const QString& packagePath, const QString& partName);
bool HasPart(const QString& packagePath, const QString& partName);
QStringList PartNames(const QString& packagePath);
void LoadPart(pugi::xml_document& doc, const QString& packagePath, const QString& partName);

// Runs /usr/bin/python3 with openpyxl on the file; empty when it loads, else the error output.
// Sets *available to false when openpyxl is not installed.
QString OpenpyxlLoadError(const QString& path, bool* available);

// The workbook's sheet sheetIndex (1-based) as CSV through LibreOffice; empty when soffice is missing
// or the conversion wrote nothing.
QString SofficeSheetCsv(const QString& path, int sheetIndex, const QString& workFolder);
bool SofficeAvailable();

// The built template folder, bin/RPT of the build tree.
QString TemplatePath(const QString& fileName);

}  // namespace tarno::xlsx::test
