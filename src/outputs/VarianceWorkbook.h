// The variance workbook of report kind 8: below the employee rows of the saved output workbook, the
// from-period and to-period totals of every EXCELMAP item, their difference, and under
// "Variance due to:" each item whose total changed; saved as a second file
// "<MMM YY> Vs <MMM YY> Variance Report.xlsx" in the company's report folder.
//
// Totals come from RP_HTRX (the sum of the item's FIELD_NO column over the period) and are compared
// in fixed point with four decimals. Items whose FIELDNAME RP_HTRX lacks are left out with a warning.
#pragma once

#include <QString>

#include "context/Query.h"
#include "context/Table.h"

namespace tarno::outputs {

struct VarianceRequest {
  QString workbookPath;  // the output workbook just saved (kind 8's display text + ".xlsx")
  QString periodFrom;    // CCYYMM
  QString periodTo;      // CCYYMM
  QString company;       // COMPANY of PAYPARA1 (cleaned for the folder name here)
  int reportFolderNo = 0;
  QString tablePassword;  // for RP_HTRX on a free-table connection
};

// Writes the variance workbook and returns its path. excelMap is reopened and left ordered by
// PAYITEM; sumQuery (AdsQuerySum) runs the sums. Periods without a month number fail before
// anything is written.
QString WriteVarianceWorkbook(db::Table& excelMap, db::Query& sumQuery, const VarianceRequest& request);

}  // namespace tarno::outputs
