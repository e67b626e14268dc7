// One contribution to the report table RPTRX: the only input of the row writer. The summary
// figures and every detail source hand their figures on in this shape; counts travel in the
// amount like money.
#pragma once

#include <QString>

namespace tarno::extraction {

struct ReportAmount {
  QString empCode;      // RPTRX.EMPCODE
  QString period;       // RPTRX.PERIOD of the row to add to, CCYYMM
  QString payCode;      // RPTRX.PAYCODE, the row's key within employee and period
  QString trxType;      // RPTRX.TRX_TYPE, written when the row is appended
  QString wageType;     // RPTRX.WAGE_TYPE, written when the row is appended
  QString description;  // RPTRX.DESCRIPTION, written when the row is appended
  double rate = 0;      // RPTRX.RATE of the period's row, overwritten by each contribution
  double amount = 0;    // added to RPTRX.AMOUNT
};

}  // namespace tarno::extraction
