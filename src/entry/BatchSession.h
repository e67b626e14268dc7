// The library's interface for running without a screen. It performs the same start-up as the
// exported entry (connect, PAYPARA1 on the payroll year and the date format, the "OTCOMP" switch,
// the dialog's FormShow steps including the emptying of RPTRX), with the operator's choices taken
// from options instead of the dialog, and then runs one job.
//
// Order of calls: construct (start-up) -> one of Process / Report / Mapping -> destroy (teardown).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace tarno {

// CONTEXT of the command line.
struct BatchContext {
  QString databasePath;    // --db
  QString userId;          // --user
  int payYear = 0;         // --year
  int payMonth = 0;        // --month
  int reportFolderNo = 0;  // --folder
  QString companyTitle;    // --company
  QString condition1;      // --cond1
  QString condition2;      // --cond2
  QString reportsRoot;     // --reports-root ("" = default rule)
  QString templates;       // --templates ("" = default rule)
};

// RUN of the command line: the choices the dialog would hold.
struct RunChoices {
  QString periodFrom;  // "" = the context's current period
  QString periodTo;
  int cycleIndex = 4;  // "Full Month"
  bool includedSpecial = false;
  bool includedBonus = false;
  int reportKind = 0;
  bool costCentreBreakdown = false;
  bool showHeadCount = true;
  bool exportCsv = false;
};

class BatchSession {
 public:
  explicit BatchSession(const BatchContext& context);
  ~BatchSession();

  // The Process button: RunReport("XLS"). Returns the files written.
  QStringList Process(const RunChoices& choices);
  // The Report button: RunReport("rpt"), then the costing report of the last period exported to
  // each file by its extension (.pdf .html .xlsx .png .txt). Returns the files written.
  QStringList Report(const RunChoices& choices, const QStringList& outFiles);
  // The allowance code mapping form, modal (needs a QApplication).
  void Mapping();

  struct Private;

 private:
  std::unique_ptr<Private> d;
};

}  // namespace tarno
