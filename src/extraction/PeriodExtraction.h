// BuildPeriodHistory: turns the payroll history of one period into RPTRX rows. For every summary
// row of P_HTRX (one per employee of the operator and pay run) it adds the sixteen summary figures
// and runs the detail sources, all through the row writer.
//
// The summary statement runs as composed on AdsQueryRwHTRX. The detail statements are composed on
// their own queries as well, but read once per period by period-wide variants (the first time a
// summary row needs them, in the same order) instead of once per employee and run.
//
// Order of calls per run: construct (loads the run's RPTRX working set) -> BuildPeriodHistory per
// period -> Flush (also when an error ends the run).
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "context/Query.h"
#include "context/Table.h"
#include "dialog/DialogState.h"
#include "extraction/DetailRows.h"
#include "extraction/DetailSources.h"
#include "extraction/HistoryStatements.h"
#include "extraction/ReportRowWriter.h"

namespace tarno::extraction {

// The dialog's data components the extraction works with.
struct ExtractionComponents {
  db::Table& reportTable;      // AdsTableP_htrx, open on RPTRX in the breakdown's order
  db::Query& summary;          // AdsQueryRwHTRX
  db::Table& costCentres;      // AdsTablectr, "EMPCODE;PERIOD;COST_CENTRE"
  db::Table& allowances;       // AdsTableAllw, open
  db::Table& shiftParameters;  // AdsTableSFPara, open
  db::Query& noPayDays;        // AdsQueryNPL
  db::Query& noPayHours;       // AdsQueryNH
  db::Query& absence;          // AdsQueryABS
  db::Query& restDay;          // AdsQueryRD
  db::Query& overtime;         // AdsQueryOTHTRX
  db::Query& shift;            // AdsQuerySFHTRX
  db::Query& cpfWage;          // AdsQueryYTDEMPL
  db::Query& allowanceRows;    // AdsQueryp_Dtrxaw
};

// Values of the host's context block the extraction reads.
struct ExtractionContext {
  QString userId;
  QString historyCondition1;
  QString historyCondition2;
  int payYear = 0;
  QString tablePassword;  // empty on a dictionary connection
};

class PeriodExtraction {
 public:
  // Loads the RPTRX rows of the years firstYear..lastYear from the open report table (all rows
  // when either is 0).
  PeriodExtraction(ExtractionComponents components, ExtractionContext context, DialogState& state,
                   int firstYear, int lastYear);
  ~PeriodExtraction();

  void BuildPeriodHistory(const QString& period);
  // Writes the working set's changed rows to RPTRX; returns the rows written.
  int Flush();

  ReportRowWriter& Writer() { return m_writer; }
  db::Query& DetailQuery(DetailKind kind);

 private:
  void ComposeStatements();
  void LoadCostCentres(const QString& period);
  void LoadDetails(const QString& period);
  void AddSummaryFigures(const QString& empCode, const QString& period);

  ExtractionComponents m_c;
  ExtractionContext m_context;
  DialogState& m_state;
  ReportRowWriter m_writer;
  DetailSources m_sources;
  // Period-wide detail statements, one per kind, and their rows of the current period.
  std::array<std::unique_ptr<db::Query>, 8> m_periodQueries;
  std::array<PeriodDetailRows, 8> m_periodRows;
  QHash<QString, std::vector<CostCentreShare>> m_costCentresOfPeriod;  // by EMPCODE
};

}  // namespace tarno::extraction
