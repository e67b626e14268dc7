// The workbook form of the variance and year-to-date kinds: its query qryAll reads RP_HTRX of one
// period with the employees' codes in front, and its filler fills the working template
// (Variance.xlsx, prepared from EXCELMAP) and saves the output workbook.
//
// Order of use: create (FormCreate: passwords, template, query text), set Params["StartDate"],
// set PERIOD1 on qryAll and open it, FillAndSave(output path), close qryAll.
#pragma once

#include <QMap>
#include <QString>

#include "context/Connection.h"
#include "context/Query.h"
#include "xlsx/TemplateFiller.h"

namespace tarno::outputs {

class TFormTarnoExel2 {
 public:
  // FormCreate. tablePassword is given to qryAll for EMPLOYEE and RP_HTRX on a free-table connection.
  TFormTarnoExel2(db::Connection& connection, const QString& tablePassword);

  db::Query qryAll;
  QString XLSTemplate;            // the working template
  QMap<QString, QString> Params;  // the filler's parameters: "StartDate"

  // Fills XLSTemplate's "SourceRange" from qryAll (open) and saves the workbook as outputPath
  // (written beside it and renamed into place). The filler's warnings are shown as warnings.
  xlsx::FillResult FillAndSave(const QString& outputPath);
};

// The report title of the workbook kinds: "Payroll Register Report for " + company title +
// " as at Period : " + from when both periods are equal, else " From Period : " + from + " To " + to.
QString PayrollRegisterTitle(const QString& companyTitle, const QString& periodFrom, const QString& periodTo);

}  // namespace tarno::outputs
