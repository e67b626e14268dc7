// The detail sources: each reads the detail rows of one employee and pay run and hands every
// line to the row writer as a contribution with its own pay code and description (no-pay leave,
// absence, rest-day work, allowances and deductions, overtime, shift work, CPF wage records).
//
// The allowance master ALLOWNCE and the shift parameters PPARA_SF are looked up by (payroll year,
// code) through the dialog's open tables; each code is looked up once per run and remembered.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

#include "extraction/DetailRows.h"
#include "extraction/ReportRowWriter.h"

namespace tarno::db {
class Table;
}

namespace tarno::extraction {

class DetailSources {
 public:
  // allowances: AdsTableAllw open in "YEAR;ALLOW_CODE" order; shiftParameters: AdsTableSFPara
  // open in "YEAR;SHIFT_STATUS;SHIFT_DESC" order; payYear: PayYear of the context block.
  DetailSources(ReportRowWriter& writer, db::Table& allowances, db::Table& shiftParameters, int payYear);

  // The progress window's maximum (the number of summary rows) and the period being processed.
  void SetProgress(int total, const QString& period);

  // Pay code prefix + "-" + the type field; amounts (wage type "O", transaction type "D").
  void AddGroupedAmounts(const DetailRows& rows, const QString& prefix, const QString& typeField);
  // The same with FREQUENCY as the amount.
  void AddGroupedCounts(const DetailRows& rows, const QString& prefix, const QString& typeField);
  // Rest-day types "0.5D Day" ... "2.0LDay#" to pay codes 1050-1055 (amounts) and 9040-9045
  // (counts). A type outside the six is skipped with a warning naming it.
  void AddRestDayAmounts(const DetailRows& rows);
  void AddRestDayCounts(const DetailRows& rows);
  void AddAllowanceRows(const DetailRows& rows);
  void AddOvertimeRows(const DetailRows& rows);
  // Throws ValidationError("Unable to locate Shift Parameter!") for a shift status without a
  // PPARA_SF record of the payroll year.
  void AddShiftRows(const DetailRows& rows);
  void AddCpfWageRows(const DetailRows& rows);

 private:
  struct AllowanceRecord {
    QString isFund, payCode, description, trnnoText;
    std::optional<int> trnno;  // TRNNO as an integer; empty when it does not read as one
  };
  struct ShiftRecord {
    QString payCode, isFund;
  };
  const AllowanceRecord* FindAllowance(const QString& code);
  const ShiftRecord* FindShift(const QString& status);
  void Progress(const DetailRows& rows, int row);
  void AddRestDay(const DetailRows& rows, bool counts);
  void Add(const DetailRows& rows, int row, const QString& payCode, const QString& description,
           const QString& wageType, const QString& trxType, double rate, double amount);

  ReportRowWriter& m_writer;
  db::Table& m_allowances;
  db::Table& m_shiftParameters;
  int m_payYear;
  int m_progressTotal = 0;
  QString m_period;
  QHash<QString, std::optional<AllowanceRecord>> m_allowanceCache;
  QHash<QString, std::optional<ShiftRecord>> m_shiftCache;
  QSet<QString> m_warnedRestDayTypes;
};

}  // namespace tarno::extraction
