// The workbook device: one sheet "Costing" with the page-header texts on top and then, for each
// cost centre, its heading and one row per line (description, amount as a number formatted
// "#,##0.00"), a blank row between cost centres. A sheet per page would cut cost centres apart
// for no gain in a workbook, so the lines are grouped as the report groups them.
#include "context/Errors.h"
#include "costing/CostingExport.h"
#include "xlsx/Workbook.h"

namespace tarno::costing {

namespace {

const QString kAmountFormat = QStringLiteral("#,##0.00");

// The amount as printed: two decimals, half away from zero.
double PrintedValue(Currency amount) {
  const std::int64_t units = amount.Units();
  const std::int64_t cents = units >= 0 ? (units + 50) / 100 : -((-units + 50) / 100);
  return static_cast<double>(cents) / 100.0;
}

}  // namespace

QStringList WriteCostingXlsx(const CostingReport& report, const QString& path) {
  const CostingReportData& data = report.Data();
  xlsx::Workbook book = xlsx::Workbook::CreateNew(QStringLiteral("Costing"));
  xlsx::Worksheet& sheet = book.Sheet(0);
  sheet.SetColumnWidth(QStringLiteral("A"), 50);
  sheet.SetColumnWidth(QStringLiteral("B"), 18);

  sheet.SetText(QStringLiteral("A1"), data.companyTitle);
  sheet.SetFont(QStringLiteral("A1"), true, 12);
  sheet.SetText(QStringLiteral("A2"), data.TitleText());
  sheet.SetFont(QStringLiteral("A2"), true, 9);
  sheet.SetText(QStringLiteral("A3"), data.UserText());
  sheet.SetText(QStringLiteral("A4"), data.PrintedText());
  sheet.SetText(QStringLiteral("A6"), QStringLiteral("Description"));
  sheet.SetText(QStringLiteral("B6"), QStringLiteral("Amount"));
  sheet.SetFont(QStringLiteral("A6"), true);
  sheet.SetFont(QStringLiteral("B6"), true);

  int row = 7;
  for (const CostingGroup& group : data.groups) {
    const QString headingCell = QStringLiteral("A%1").arg(row++);
    sheet.SetText(headingCell, group.heading);
    sheet.SetFont(headingCell, true);
    for (const CostingLine& line : group.lines) {
      sheet.SetText(QStringLiteral("A%1").arg(row), line.description);
      sheet.SetNumber(QStringLiteral("B%1").arg(row), PrintedValue(line.amount), kAmountFormat);
      ++row;
    }
    ++row;
  }
  book.SaveAs(path);
  return {path};
}

}  // namespace tarno::costing
