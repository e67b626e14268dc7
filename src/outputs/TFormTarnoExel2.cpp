// The variance and year-to-date workbook form: query over EMPLOYEE and RP_HTRX, template fill.
#include "outputs/TFormTarnoExel2.h"

#include <QStringList>

#include "context/UserInterface.h"
#include "outputs/DatasetRecordSource.h"
#include "outputs/MappedTemplate.h"
#include "outputs/StatementPasswords.h"

namespace tarno::outputs {

TFormTarnoExel2::TFormTarnoExel2(db::Connection& connection, const QString& tablePassword)
    : qryAll(connection) {
  GiveStatementPasswords(qryAll, {QStringLiteral("EMPLOYEE"), QStringLiteral("RP_HTRX")}, tablePassword);
  XLSTemplate = WorkingTemplatePath();
  qryAll.Close();
  qryAll.SetSQL({
      QStringLiteral("SELECT EMP_NO,EMP_NAME,EMPLOYEE.DEPARTMENT_CODE,EMPLOYEE.COST_CENTRE_CODE,"
                     "EMPLOYEE.INCOME_TAX_AC_NO AS TAXNO,"),
      QStringLiteral("EMPLOYEE.CATEGORY_CODE,EMPLOYEE.COMPANY_CODE,EMPLOYEE.SECTION_CODE,"),
      QStringLiteral("EMPLOYEE.SECTION_CODE,EMPLOYEE.DIVISION_CODE,EMPLOYEE.OCCUPATION_CODE,"),
      QStringLiteral("RP_HTRX.*"),
      QStringLiteral("FROM EMPLOYEE,RP_HTRX"),
      QStringLiteral("WHERE EMPLOYEE.EMP_NO=RP_HTRX.EMPCODE"),
      QStringLiteral("AND RP_HTRX.PERIOD=:PERIOD1"),
  });
}

xlsx::FillResult TFormTarnoExel2::FillAndSave(const QString& outputPath) {
  DatasetRecordSource records(qryAll);
  xlsx::FillOptions options;
  options.alias = QStringLiteral("qryAll");
  options.rangeName = QStringLiteral("SourceRange");
  options.activeSheet = QStringLiteral("Pivot");
  for (auto it = Params.cbegin(); it != Params.cend(); ++it) options.parameters.insert(it.key(), it.value());
  xlsx::FillResult result = xlsx::FillTemplate(XLSTemplate, outputPath, records, options);
  for (const QString& warning : result.warnings) ShowWarning(warning);
  return result;
}

QString PayrollRegisterTitle(const QString& companyTitle, const QString& periodFrom,
                             const QString& periodTo) {
  const QString start = QStringLiteral("Payroll Register Report for ") + companyTitle;
  if (periodFrom != periodTo)
    return start + QStringLiteral(" From Period : ") + periodFrom + QStringLiteral(" To ") + periodTo;
  return start + QStringLiteral(" as at Period : ") + periodFrom;
}

}  // namespace tarno::outputs
