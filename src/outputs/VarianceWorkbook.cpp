// The variance workbook: period totals, differences and the list of changed items.
#include "outputs/VarianceWorkbook.h"

#include <QDir>
#include <QSet>

#include "context/Currency.h"
#include "context/Errors.h"
#include "context/Settings.h"
#include "context/UserInterface.h"
#include "outputs/DateText.h"
#include "outputs/StatementPasswords.h"
#include "xlsx/Workbook.h"

namespace tarno::outputs {
namespace {

const QString kAmountFormat = QStringLiteral("#,###0.00");
const QString kDifferenceFormat = QStringLiteral("0.00");

Currency PeriodTotal(db::Query& sumQuery, const QString& fieldName, const QString& period) {
  sumQuery.Close();
  sumQuery.SetSQL({QStringLiteral("SELECT SUM(") + fieldName + QStringLiteral(") AS ") + fieldName,
                   QStringLiteral("FROM  RP_HTRX WHERE PERIOD=:PERIOD")});
  sumQuery.SetParam(QStringLiteral("PERIOD"), period);
  sumQuery.Open();
  // Each total is rounded to four decimals: totals equal once rounded count as unchanged.
  const Currency total = sumQuery.Eof() ? Currency() : sumQuery.FieldAsCurrency(fieldName);
  sumQuery.Close();
  return total;
}

QSet<QString> ReportHistoryColumns(db::Query& sumQuery) {
  sumQuery.Close();
  sumQuery.SetSQL({QStringLiteral("SELECT * FROM RP_HTRX WHERE 1=0")});
  sumQuery.Open();
  QSet<QString> columns;
  for (const QString& name : sumQuery.FieldNames()) columns.insert(name.toUpper());
  sumQuery.Close();
  return columns;
}

bool IsEmptyCell(const QVariant& value) {
  return value.isNull() || value.toString().isEmpty();
}

}  // namespace

QString WriteVarianceWorkbook(db::Table& excelMap, db::Query& sumQuery, const VarianceRequest& request) {
  // Both dates first: a period without a month number must fail before anything is written.
  const QString fromCaption = PeriodMonthCaption(request.periodFrom);
  const QString toCaption = PeriodMonthCaption(request.periodTo);
  const QString title = fromCaption + QStringLiteral(" Vs ") + toCaption + QStringLiteral(" Variance Report");

  excelMap.Close();
  excelMap.Open();
  GiveStatementPasswords(sumQuery, {QStringLiteral("RP_HTRX")}, request.tablePassword);
  const QSet<QString> historyColumns = ReportHistoryColumns(sumQuery);

  xlsx::Workbook workbook = xlsx::Workbook::Open(request.workbookPath);
  xlsx::Worksheet& sheet = workbook.Sheet(0);
  int r = 9;
  while (!IsEmptyCell(sheet.Value(QStringLiteral("B%1").arg(r)))) ++r;
  const int t = r + 1;
  sheet.SetText(QStringLiteral("B%1").arg(t), fromCaption + QStringLiteral(" Total"));
  sheet.SetText(QStringLiteral("B%1").arg(t + 1), toCaption + QStringLiteral(" Total"));
  sheet.SetText(QStringLiteral("B%1").arg(t + 2), QStringLiteral("Difference"));
  sheet.SetText(QStringLiteral("B%1").arg(t + 5), QStringLiteral("Variance due to:"));
  sheet.SetText(QStringLiteral("B2"), title);

  int v = t + 5;
  QStringList leftOut;
  excelMap.SetIndexFieldNames(QStringLiteral("ITEM;ITEMTYPE;PAYITEM"));
  for (excelMap.First(); !excelMap.Eof(); excelMap.Next()) {
    const QString column = excelMap.FieldAsString(QStringLiteral("EXCEL_COL"));
    const QString fieldName = excelMap.FieldAsString(QStringLiteral("FIELDNAME"));
    const QString descr = excelMap.FieldAsString(QStringLiteral("DESCR"));
    if (column.isEmpty() || fieldName.isEmpty() || !historyColumns.contains(fieldName.toUpper())) {
      leftOut << QStringLiteral("%1 (%2)").arg(excelMap.FieldAsString(QStringLiteral("PAYITEM")),
                                               fieldName.isEmpty() ? QStringLiteral("no field") : fieldName);
      continue;
    }
    const Currency a = PeriodTotal(sumQuery, fieldName, request.periodFrom);
    const Currency b = PeriodTotal(sumQuery, fieldName, request.periodTo);
    const Currency d = b - a;
    sheet.SetNumber(column + QString::number(t), a.ToDouble(), kAmountFormat);
    sheet.SetNumber(column + QString::number(t + 1), b.ToDouble(), kAmountFormat);
    sheet.SetNumber(column + QString::number(t + 2), d.ToDouble(), kAmountFormat);
    if (excelMap.FieldAsString(QStringLiteral("LINE")).isEmpty() && !d.IsZero()) {
      ++v;
      sheet.SetText(QStringLiteral("B%1").arg(v), descr);
      sheet.SetNumber(column + QString::number(v), d.ToDouble(), kDifferenceFormat);
    }
  }
  excelMap.SetIndexFieldNames(QStringLiteral("PAYITEM"));
  if (!leftOut.isEmpty())
    ShowWarning(QStringLiteral("These EXCELMAP items have no amount field in RP_HTRX and are left out of the "
                               "variance totals: %1.")
                    .arg(leftOut.join(QStringLiteral(", "))));

  const QString folder = ReportOutputFolder(request.company, request.reportFolderNo);
  if (!QDir().mkpath(folder))
    throw OutputError(QStringLiteral("The report folder %1 cannot be created.").arg(folder));
  const QString path = QDir(folder).filePath(title + QStringLiteral(".xlsx"));
  workbook.SaveAs(path);
  return path;
}

}  // namespace tarno::outputs
