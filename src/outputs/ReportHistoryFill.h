// Fills the wide report history RP_HTRX that the variance and year-to-date workbooks read: one row
// per employee, period and pay run with the P_HTRX header columns that RP_HTRX shares, and in
// FIELD_NO<n> the amount of the EXCELMAP item numbered n.
//
// An item's amount is the P_HTRX column that its PAYITEM names, else the sum of P_DTRXAW.AMOUNT of
// that allowance code for the employee, period and run, else 0.
// Variance kind (8): one row per employee of the operator (EMPSERV.USERID), period of the range and
// selected run. Year-to-date kind (9): one row per employee at the to-period with cycle "E", whose
// amounts run from January of the to-period's year through the to-period over the selected runs;
// its text and rate columns come from the employee's latest run, its other amounts are summed.
//
// The caller has already deleted the RP_HTRX rows of the range. All rows are written in one
// transaction through one prepared statement; the history is read with period-wide statements.
#pragma once

#include <QString>

#include "context/Connection.h"
#include "context/Table.h"

namespace tarno::outputs {

struct ReportHistoryRequest {
  int reportKind = 8;     // 8 variance, 9 year-to-date
  QString periodFrom;     // CCYYMM, inclusive
  QString periodTo;       // CCYYMM, inclusive
  QString userId;         // the operator: EMPSERV.USERID
  QString cycleLetters;   // the selected runs, four letters such as "EMBS" (repeats allowed)
  QString tablePassword;  // for the encrypted tables (free-table connections)
};

// Writes the rows and returns how many. EXCELMAP must be open and numbered (its FIELDNAME values);
// its current record is moved.
int FillReportHistory(db::Connection& connection, db::Table& excelMap, const ReportHistoryRequest& request);

}  // namespace tarno::outputs
