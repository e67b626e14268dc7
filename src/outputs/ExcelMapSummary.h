// The pay-item map EXCELMAP of the variance and year-to-date workbooks: which pay items the period
// range holds, in which workbook column each stands and which RP_HTRX field (FIELD_NO<n>) carries
// its amount. BuildExcelMapSummary rebuilds it before such a run; AddExcelMapRow adds or marks one
// row. Reserved rows (RESV not null) survive every rebuild with their own caption and group.
//
// Order of a rebuild: rows that are not reserved deleted, ISVALUE cleared, the allowance codes of
// the range added, the wage totals added, then every row numbered in ITEM;ITEMTYPE;PAYITEM order.
#pragma once

#include <QString>
#include <QStringList>

#include "context/Query.h"
#include "context/Table.h"

namespace tarno::outputs {

// RP_HTRX has FIELD_NO1 to FIELD_NO200: rows numbered past this get no field.
inline constexpr int kMappedFieldCount = 200;

// The components a rebuild works on: the table EXCELMAP (AdsQueryTbl) and the statement
// component adsqryAW, whose text is replaced for each statement.
struct ExcelMapComponents {
  db::Table& excelMap;
  db::Query& statement;
  // The table password given to every statement that names an encrypted table (free-table
  // connections only).
  QString tablePassword;
};

// Rebuilds EXCELMAP for the range. Rows numbered past kMappedFieldCount keep their column but get
// an empty FIELDNAME, and one warning names them. Database errors propagate (the run driver
// swallows them); the table is left ordered by PAYITEM on success.
void BuildExcelMapSummary(const ExcelMapComponents& components, const QString& periodFrom,
                          const QString& periodTo);

// Adds a row for the pay item, or marks the existing one (keeping its caption, group and type);
// ISVALUE becomes "1". The community-fund codes CDAC, EUCF, MOSQ and SINDA are never mapped.
// Needs EXCELMAP open and ordered by PAYITEM.
void AddExcelMapRow(db::Table& excelMap, const QString& descr, const QString& payItem, const QString& item,
                    const QString& itemType);

// The column letters after the given ones, as a spreadsheet counts them: "E" -> "F", "Z" -> "AA",
// "AZ" -> "BA", "ZZ" -> "AAA".
QString NextColumnLetters(const QString& letters);

// The FIELD_NO number of a FIELDNAME ("FIELD_NO12" -> 12), or 0 when it names no such field.
int MappedFieldNumber(const QString& fieldName);

}  // namespace tarno::outputs
