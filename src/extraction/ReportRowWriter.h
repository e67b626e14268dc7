// The report row writer: adds contributions to RPTRX rows keyed by employee, pay code and period
// (with the cost-centre breakdown also by cost centre and department), keeps each row's
// year-to-date figure and carries it into the later months of the same year.
//
// The run's working set is held in memory: the RPTRX rows of the years a run touches are loaded
// once (Load), every contribution is applied to the in-memory rows exactly as a keyed walk over
// the table in its index order would, and the changed rows are written back in transactions
// (Flush) at the end of the run and before an error leaves it. One keyed lookup and post per
// contribution and later month against the table was the bottleneck of the extraction; see
// bench/bench_extraction.cpp.
//
// Order of calls: Load -> (SetCostCentres per summary row, AddReportAmount ...)* -> Flush.
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "context/Currency.h"
#include "extraction/ReportAmount.h"

namespace tarno::db {
class Connection;
class Dataset;
}  // namespace tarno::db

namespace tarno::extraction {

// One COSTCTR record of the employee and period of the current summary row.
struct CostCentreShare {
  QString costCentre;  // COSTCTR.COST_CENTRE
  QString department;  // COSTCTR.DEPARTMENT
  Currency percent;    // COSTCTR.PERCENT, fixed point 4 decimals
};

// A report row as the writer holds it (also what tests and the benchmark read back).
struct ReportRowValues {
  QString empCode, payCode, period, costCentre, department;
  QString description, trxType, wageType;
  Currency amount;       // AMOUNT
  Currency ytdAmount;    // YTDAMOUNT
  Currency rate;         // RATE; meaningful only when hasRate
  bool hasRate = false;  // false: RATE never written (later-month rows appended with AMOUNT 0)
};

class ReportRowWriter {
 public:
  // costCentreBreakdown is asked at every contribution (the dialog's CheckBoxCTR).
  explicit ReportRowWriter(std::function<bool()> costCentreBreakdown);
  ~ReportRowWriter();
  ReportRowWriter(const ReportRowWriter&) = delete;
  ReportRowWriter& operator=(const ReportRowWriter&) = delete;

  // Takes the rows of an open RPTRX dataset whose PERIOD text is >= lowPeriod and < highPeriod
  // (an empty bound is no bound) into the working set.
  void Load(db::Dataset& rptrx, const QString& lowPeriod, const QString& highPeriod);

  // The COSTCTR records of the current summary row, in COST_CENTRE order; their number is the
  // split count.
  void SetCostCentres(std::vector<CostCentreShare> records);

  // The entry for every figure: zero amounts are dropped, then split or written whole.
  void AddReportAmount(const ReportAmount& contribution);
  void AddToReportRow(const ReportAmount& contribution);
  void SplitByCostCentre(const ReportAmount& contribution);
  void AddToCostCentreRow(const ReportAmount& contribution, const QString& costCentre,
                          const QString& department);

  // Writes every changed row to RPTRX (appended rows inserted, loaded rows updated), committing
  // every chunkRows rows; what was written stays committed also when a statement fails. The
  // password is given to the statements unless empty (dictionary connection). Returns the rows
  // written.
  int Flush(db::Connection& connection, const QString& tablePassword, int chunkRows = 5000);

  // Rows of the working set in the order "EMPCODE;PAYCODE;PERIOD;COSTCENTRE_CODE;DEPT_CODE".
  std::vector<ReportRowValues> Rows() const;
  qint64 RowCount() const { return m_rowCount; }
  qint64 DirtyRowCount() const;

 private:
  // Key values as stored, for the update of a row that was loaded (the row's own texts are the
  // stored ones for rows this writer inserted).
  struct StoredKey {
    QVariant empCode, payCode, period, costCentre, department;
  };
  struct Row {
    QString period, costCentre, department;
    QString description, trxType, wageType;
    Currency amount, ytdAmount, rate;
    bool hasRate = false;
    bool stored = false;                   // present in RPTRX (loaded, or inserted by an earlier Flush)
    bool dirty = false;                    // changed since loaded or last written
    std::shared_ptr<StoredKey> storedKey;  // loaded rows only
  };
  // The rows of one employee and pay code, in the order PERIOD, COSTCENTRE_CODE, DEPT_CODE.
  struct Group {
    QString empCode, payCode;
    std::vector<Row> rows;
  };
  Group& GroupOf(const QString& empCode, const QString& payCode);
  // The year-to-date of earlier periods of the year; with a cost centre, only that cost centre's
  // and department's rows count (the others are passed over).
  static Currency EarlierPeriodsTotal(const Group& group, const QString& yearStart, const QString& period,
                                      const QString* costCentre, const QString* department);
  // FindKey on three fields (costCentre null) or five; appends a row in key order when none.
  Row& FindOrAppend(Group& group, const ReportAmount& c, const QString& period, const QString* costCentre,
                    const QString* department, bool* appended);
  void WriteRow(const ReportAmount& c, const QString* costCentre, const QString* department);

  std::function<bool()> m_costCentreBreakdown;
  QHash<QString, Group> m_groups;  // key: EMPCODE + '\x1f' + PAYCODE
  std::vector<CostCentreShare> m_costCentres;
  qint64 m_rowCount = 0;
};

}  // namespace tarno::extraction
