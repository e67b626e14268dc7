// The report dialog's data components and its non-visual operations: FormShow's database steps,
// RunReport and the extraction that it drives. The Qt dialog owns one and so does the batch mode;
// neither the session nor the extraction includes a widget header.
#pragma once

#include <QString>
#include <QStringList>

#include "context/DataModule.h"
#include "context/Query.h"
#include "context/Table.h"
#include "dialog/DialogState.h"

namespace tarno {

class ReportSession {
 public:
  ReportSession(TDataModule1& dataModule, DialogState& state);
  ~ReportSession();

  TDataModule1& DataModule() const { return m_dm; }
  DialogState& State() const { return m_state; }

  // FormShow's database steps: P_HTRX opened (with its password), the statement passwords of the
  // summary and costing queries, EXRATE, ALLOWNCE and CODE opened, RPTRX emptied and packed under
  // exclusive use. (The period lists are the dialog's own steps, see PeriodListOfYear.)
  void FormShow();

  // The run driver: "XLS" produces the kind's output files, any other mode ends after the
  // extraction. Throws ValidationError("Invalid Period Range!") before anything changes.
  void RunReport(const QString& mode);

  // The period being extracted; after a run the last period of the range.
  QString CurrentPeriod;

  // Data components, named as the dialog's form names them.
  db::Table AdsTableHTRX;
  db::Table AdsTable_Exrate;
  db::Table AdsTableAllw;
  db::Table AdsTableCode;
  db::Table AdsTableP_htrx;
  db::Table AdsTableSFPara;
  db::Table AdsTablectr;
  db::Table AdsQueryTbl;
  db::Query AdsQueryRwHTRX;
  db::Query adsqryTemp;
  db::Query AdsReportExcel;
  db::Query AdsQueryp_Dtrxaw;
  db::Query AdsQueryOTHTRX;
  db::Query AdsQuerySFHTRX;
  db::Query AdsQueryNPL;
  db::Query AdsQueryABS;
  db::Query AdsQueryNH;
  db::Query AdsQueryRD;
  db::Query AdsQueryYTDEMPL;
  db::Query adsqryAW;
  db::Query AdsQuerySum;
  db::Query QueryRPT;

 private:
  // Kinds 8 and 9, before the period loop: EXCELMAP rebuilt (its errors swallowed), the RP_HTRX
  // selection reopened, EXCELMAP reopened from its first row.
  void PrepareMappedRun(const QString& periodFrom, const QString& periodTo);
  // Kinds 8 and 9, right after the period loop (both modes): RP_HTRX filled from the history.
  void FillReportHistory(const QString& periodFrom, const QString& periodTo);
  // Steps 12 to 15 of a workbook-mode run: prepare, fill and save the kind's output files.
  void ProduceOutputs(const QString& periodFrom, const QString& periodTo);
  // The same for kinds 8 and 9: mapped template, filled workbook, variance workbook (kind 8).
  void ProduceMappedOutputs(const QString& periodFrom, const QString& periodTo);

  TDataModule1& m_dm;
  DialogState& m_state;
  bool m_running = false;  // guards against a second run started inside a running one
};

// The twelve periods of a payroll year, "CCYY01" to "CCYY12".
QStringList PeriodListOfYear(int payYear);

}  // namespace tarno
