// The pivot workbook form of report kinds 0 to 7: the report query qryAll over RPTRX, EMPLOYEE
// and EMPSERV with its persistent and calculated fields, the code and employee lookups, the grid
// WWDBGrid1 that the CSV export walks, and the template filler's settings.
//
// Order of use: construct (FormCreate runs), set Params["StartDate"], set qryAll's PERIOD1 and
// PERIOD2, open qryAll, then SaveReport(path) or ExportGridToCsv on WWDBGrid1, close qryAll.
#pragma once

#include <QHash>
#include <QMap>
#include <QString>
#include <optional>

#include "context/Connection.h"
#include "context/Query.h"
#include "dialog/DialogState.h"
#include "outputs/GridColumns.h"
#include "xlsx/TemplateFiller.h"

namespace tarno::outputs {

// One field of the pivot record, in the form's order.
struct PivotField {
  const char* name;
  bool calculated;
  db::FieldKind kind;
  int width;  // characters for text fields; 0 for numbers and dates
};
// The 48 fields of the pivot record.
extern const PivotField kPivotFields[48];

class TFormTarnoExel {
 public:
  // Runs FormCreate. The dialog state is read at creation (the report kind's template) and again
  // for every record (the cost-centre breakdown), as the form reads the dialog's controls.
  TFormTarnoExel(db::Connection& connection, const DialogState& state, const QString& userId);
  ~TFormTarnoExel();
  TFormTarnoExel(const TFormTarnoExel&) = delete;
  TFormTarnoExel& operator=(const TFormTarnoExel&) = delete;

  // The report query and the lookups, named as the form names them.
  db::Query qryAll;
  db::Query AdsQueryCode;
  db::Query adsqryEmpmisc;
  // COMPANY_CODE, PERIOD, COST_CENTRE_CODE, COSTCENTRE_CODE, DEPARTMENT_CODE, DESCRIPTION, EMP_NO,
  // EMP_NAME, AMOUNT, YTDAMOUNT over qryAll, each titled with its field name.
  DataGrid WWDBGrid1;

  // The template filler's settings: template path, source alias, range, active sheet, parameters.
  QString XLSTemplate;
  xlsx::FillOptions xlReport;

  // Fills XLSTemplate's "SourceRange" from qryAll (open) and saves the workbook as outputPath.
  // Throws OutputError naming the template when it does not exist; the filler's own errors
  // (no "SourceRange", no "Pivot" sheet, unwritable output) propagate.
  xlsx::FillResult SaveReport(const QString& outputPath);

  // The field kinds of the pivot record for the record source and the grid (upper-case names).
  static QHash<QString, db::FieldKind> PivotFieldKinds();

 private:
  void FormCreate();
  void qryAllCalcFields(db::Dataset& dataset);
  // The "DESC" of CODE for (category, code), or nullopt when CODE has no such row.
  std::optional<QString> LookUpCode(const QString& category, const QString& code) const;
  void LoadCodeDescriptions();
  void LoadEmployeeMisc();

  db::Connection& m_connection;
  const DialogState& m_state;
  QString m_userId;
  // AdsQueryCode and adsqryEmpmisc loaded once into keyed maps, so that each record's fifteen
  // lookups are hash searches instead of queries.
  QHash<QString, QString> m_codeDescriptions;  // category + '\x1f' + code -> DESC
  QHash<QString, QString> m_employeeChar1;     // EMP_NO -> CHAR1
};

}  // namespace tarno::outputs
