// Builds the workbook templates HISTORY1.XLSX ... HISTORY9.XLSX from the definitions below, so that
// the repository holds readable sources instead of binary workbooks. Run by the build:
//   tarno_make_templates OUTPUT_FOLDER
// README.md beside this file describes the template syntax the filler understands.
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

#include "context/Errors.h"
#include "xlsx/CellReference.h"
#include "xlsx/PivotTable.h"
#include "xlsx/Workbook.h"

using namespace tarno::xlsx;

namespace {

// The pivot record: one employee, period and pay code, in the report query's field order.
enum class FieldKind { Text, Money, Date };
struct Field {
  const char* name;
  FieldKind kind;
  double width;  // column width in characters
};
const Field kPivotFields[] = {
    {"EMP_NO", FieldKind::Text, 10},
    {"EMP_NAME", FieldKind::Text, 28},
    {"DEPARTMENT_CODE", FieldKind::Text, 10},
    {"COST_CENTRE_CODE", FieldKind::Text, 10},
    {"COMPANY_CODE", FieldKind::Text, 10},
    {"JOB_GRADE_CODE", FieldKind::Text, 10},
    {"CATEGORY_CODE", FieldKind::Text, 10},
    {"SECTION_CODE", FieldKind::Text, 10},
    {"DESCRIPTION", FieldKind::Text, 30},
    {"PERIOD", FieldKind::Text, 8},
    {"AMOUNT", FieldKind::Money, 14},
    {"PAYCODE", FieldKind::Text, 10},
    {"COMPANY", FieldKind::Text, 20},
    {"DEPARTMENT", FieldKind::Text, 20},
    {"JOB_GRADE", FieldKind::Text, 20},
    {"COST_CENTRE", FieldKind::Text, 20},
    {"CATEGORY", FieldKind::Text, 20},
    {"YTDAMOUNT", FieldKind::Money, 14},
    {"TAXNO", FieldKind::Text, 14},
    {"COST_CENTRE_DESC", FieldKind::Text, 24},
    {"DEPARTMENT_CODE_DESC", FieldKind::Text, 24},
    {"DIVISION_CODE", FieldKind::Text, 10},
    {"DIVISION_CODE_DESC", FieldKind::Text, 24},
    {"OCCUPATION", FieldKind::Text, 10},
    {"OCCUPATION_CODE_DESC", FieldKind::Text, 24},
    {"OCCUPATION_CODE", FieldKind::Text, 10},
    {"DEPT_CODE", FieldKind::Text, 10},
    {"COSTCENTRE_CODE", FieldKind::Text, 10},
    {"DEPARTMENT_DESC", FieldKind::Text, 24},
    {"FAMOUNT", FieldKind::Money, 14},
    {"FCURR_CODE", FieldKind::Text, 8},
    {"CURR_CODE", FieldKind::Text, 8},
    {"EXRATE", FieldKind::Money, 10},
    {"LOCATION_CODE", FieldKind::Text, 10},
    {"COST_CENTRE_CODE_DESC", FieldKind::Text, 24},
    {"SECTION_CODE_DESC", FieldKind::Text, 24},
    {"HIREDATE", FieldKind::Text, 11},
    {"HIRED_DATE", FieldKind::Date, 11},
    {"TERMINATION_STATUS", FieldKind::Text, 8},
    {"TERMDATE", FieldKind::Text, 11},
    {"CHAR1", FieldKind::Text, 16},
    {"TERMINATION_DATE", FieldKind::Date, 11},
    {"STATUS", FieldKind::Text, 12},
    {"RATE", FieldKind::Money, 12},
    {"DIVISION", FieldKind::Text, 20},
    {"PASSPORT_NO", FieldKind::Text, 14},
    {"DOB", FieldKind::Date, 11},
    {"CYCLE", FieldKind::Text, 6},
};

// One pivot template per report kind 0 to 7: which fields make the rows and columns of its pivot.
struct PivotTemplate {
  const char* fileName;
  const char* caption;  // shown above the pivot
  QStringList rows;
  QStringList columns;
};
const PivotTemplate kPivotTemplates[] = {
    // Pay items as columns: descriptions begin with their number, so they sort in payslip order.
    {"HISTORY1.XLSX", "Employees by pay item", {"EMP_NO", "EMP_NAME"}, {"DESCRIPTION"}},
    {"HISTORY2.XLSX", "Departments (code) by pay item", {"DEPARTMENT_CODE"}, {"DESCRIPTION"}},
    {"HISTORY3.XLSX", "Divisions (code) by pay item", {"DIVISION_CODE"}, {"DESCRIPTION"}},
    {"HISTORY4.XLSX",
     "Departments (code and description) by pay item",
     {"DEPARTMENT_CODE_DESC"},
     {"DESCRIPTION"}},
    {"HISTORY5.XLSX", "Company summary: pay items by period", {"DESCRIPTION"}, {"PERIOD"}},
    {"HISTORY6.XLSX", "Occupations by pay item", {"OCCUPATION_CODE_DESC"}, {"DESCRIPTION"}},
    {"HISTORY7.XLSX", "Departments (description) by pay item", {"DEPARTMENT"}, {"DESCRIPTION"}},
    {"HISTORY8.XLSX",
     "Departments and cost centres by pay item",
     {"DEPARTMENT", "COST_CENTRE"},
     {"DESCRIPTION"}},
};

constexpr int kTitleRow = 1;
constexpr int kHeaderRow = 3;
constexpr int kFieldRow = 4;

int FieldIndex(const QString& name) {
  for (int i = 0; i < static_cast<int>(std::size(kPivotFields)); ++i) {
    if (name == QLatin1String(kPivotFields[i].name)) return i;
  }
  throw tarno::Error(QStringLiteral("The template definitions name the unknown field %1.").arg(name));
}

QString Cell(int row, int column) {
  return CellAddress{row, column}.ToString();
}

void WritePivotTemplate(const PivotTemplate& definition, const QString& folder) {
  Workbook workbook = Workbook::CreateNew(QStringLiteral("Data"));
  Worksheet& data = workbook.Sheet(0);
  data.SetText(Cell(kTitleRow, 1), QStringLiteral("=StartDate"));
  data.SetFont(Cell(kTitleRow, 1), true, 14);
  QStringList names;
  for (int i = 0; i < static_cast<int>(std::size(kPivotFields)); ++i) {
    const Field& field = kPivotFields[i];
    const int column = i + 1;
    names.append(QLatin1String(field.name));
    data.SetText(Cell(kHeaderRow, column), QLatin1String(field.name));
    data.SetFont(Cell(kHeaderRow, column), true);
    data.SetText(Cell(kFieldRow, column), QStringLiteral("=qryAll_") + QLatin1String(field.name));
    if (field.kind == FieldKind::Money)
      data.SetNumber(Cell(kFieldRow, column), 0, QStringLiteral("#,##0.00"));
    if (field.kind == FieldKind::Date)
      data.SetNumber(Cell(kFieldRow, column), 0, QStringLiteral("dd/mm/yyyy"));
    // SetNumber gave the cell its format; the reference text goes back in.
    data.SetText(Cell(kFieldRow, column), QStringLiteral("=qryAll_") + QLatin1String(field.name));
    data.SetColumnWidth(ColumnLetters(column), field.width);
  }
  const RangeAddress source{
      QStringLiteral("Data"), {kHeaderRow, 1}, {kFieldRow, static_cast<int>(names.size())}};
  workbook.SetDefinedName(QStringLiteral("SourceRange"), source.ToAbsoluteString());

  Worksheet& pivot = workbook.AddSheet(QStringLiteral("Pivot"));
  pivot.SetText(QStringLiteral("A1"), QStringLiteral("=StartDate"));
  pivot.SetFont(QStringLiteral("A1"), true, 14);
  pivot.SetText(QStringLiteral("A2"), QLatin1String(definition.caption));
  pivot.SetColumnWidth(QStringLiteral("A"), 30);

  PivotTableLayout layout;
  layout.sheetName = QStringLiteral("Pivot");
  layout.anchorCell = QStringLiteral("A4");
  layout.tableName = QStringLiteral("PayrollPivot");
  layout.sourceName = QStringLiteral("SourceRange");
  layout.fieldNames = names;
  for (const QString& row : definition.rows) layout.rowFields.append(FieldIndex(row));
  for (const QString& column : definition.columns) layout.columnFields.append(FieldIndex(column));
  layout.dataField = FieldIndex(QStringLiteral("AMOUNT"));
  layout.dataCaption = QStringLiteral("Sum of AMOUNT");
  AddPivotTable(workbook, layout);

  workbook.SetActiveSheet(QStringLiteral("Pivot"));
  workbook.SaveAs(QDir(folder).filePath(QLatin1String(definition.fileName)));
}

// The variance and year-to-date template: employee columns A to D; the pay-item columns from E are
// written into rows 8 to 10 of a working copy for each run.
void WriteMappedTemplate(const QString& folder) {
  Workbook workbook = Workbook::CreateNew(QStringLiteral("Sheet1"));
  Worksheet& sheet = workbook.Sheet(0);
  sheet.SetText(QStringLiteral("B2"), QStringLiteral("=StartDate"));
  sheet.SetFont(QStringLiteral("B2"), true, 14);
  const struct {
    const char* caption;
    const char* field;
    double width;
  } employeeColumns[] = {{"Emp No", "EMP_NO", 10},
                         {"Employee Name", "EMP_NAME", 28},
                         {"Department", "DEPARTMENT_CODE", 12},
                         {"Cost Centre", "COST_CENTRE_CODE", 12}};
  int column = 1;
  for (const auto& c : employeeColumns) {
    const QString letters = ColumnLetters(column);
    sheet.SetText(letters + u'8', QLatin1String(c.caption));
    sheet.SetFont(letters + u'8', true);
    sheet.SetWrapText(letters + u'8', true);
    sheet.SetText(letters + u'9', QStringLiteral("=qryAll_") + QLatin1String(c.field));
    sheet.SetColumnWidth(letters, c.width);
    ++column;
  }
  sheet.SetText(QStringLiteral("A10"), QStringLiteral("Total"));
  sheet.SetFont(QStringLiteral("A10"), true);
  // Columns E to HZ: room for 200 mapped pay items and more.
  workbook.SetDefinedName(QStringLiteral("SourceRange"), QStringLiteral("Sheet1!$A$9:$HZ$10"));

  Worksheet& pivot = workbook.AddSheet(QStringLiteral("Pivot"));
  pivot.SetText(QStringLiteral("A1"), QStringLiteral("=StartDate"));
  pivot.SetText(QStringLiteral("A3"),
                QStringLiteral("The pay items of the period are on the first worksheet."));
  workbook.SetActiveSheet(QStringLiteral("Pivot"));
  workbook.SaveAs(QDir(folder).filePath(QStringLiteral("HISTORY9.XLSX")));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarno_make_templates OUTPUT_FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  try {
    QDir().mkpath(folder);
    for (const PivotTemplate& definition : kPivotTemplates) WritePivotTemplate(definition, folder);
    WriteMappedTemplate(folder);
  } catch (const tarno::Error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
