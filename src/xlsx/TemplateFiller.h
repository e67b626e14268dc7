// Fills the named data range of a workbook template from a record set and saves the result:
// the row of "=qryAll_FIELD" cells becomes one row per record, "SUM" cells below it become column
// totals, "=StartDate" cells receive the title, pivot caches over the range are left to be rebuilt
// from the new rows when the workbook is opened. templates/README.md describes the template syntax.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "xlsx/RecordSource.h"

namespace tarno::xlsx {

struct FillOptions {
  QString alias = QStringLiteral("qryAll");           // field references read "=" + alias + "_" + field
  QString rangeName = QStringLiteral("SourceRange");  // defined name of the data range
  QString activeSheet = QStringLiteral("Pivot");      // must exist; active sheet of the saved workbook
  QMap<QString, QString> parameters;                  // "StartDate" -> report title; names case-insensitive
};

struct FillResult {
  qint64 rowsWritten = 0;  // data rows written, one per record
  QStringList warnings;    // e.g. a field reference the record set lacks (its cells stay empty)
};

// Fills templatePath's range from the records and saves the result as outputPath (written beside it
// and renamed into place). Throws tarno::OutputError for a missing or unreadable template, a template
// without the range name or the active sheet, and an output that cannot be written; the output file
// is then left as it was.
FillResult FillTemplate(const QString& templatePath, const QString& outputPath, RecordSource& records,
                        const FillOptions& options);

}  // namespace tarno::xlsx
