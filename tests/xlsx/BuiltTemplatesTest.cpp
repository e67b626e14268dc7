// The templates the build writes into bin/RPT: structure of each, loadable by openpyxl, and a filled
// HISTORY1 whose pivot LibreOffice computes from the new rows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>

#include "common/TestSupport.h"
#include "xlsx/CellReference.h"
#include "xlsx/Package.h"
#include "xlsx/PivotCacheDefinition.h"
#include "xlsx/PivotTable.h"
#include "xlsx/TemplateFiller.h"
#include "xlsx/Workbook.h"
#include "xlsx/XlsxTestSupport.h"

namespace tarno::xlsx {
namespace {
using test::TemplatePath;

// The pivot record's fields in the report query's order.
const QStringList kPivotFields =
    QStringLiteral(
        "EMP_NO EMP_NAME DEPARTMENT_CODE COST_CENTRE_CODE COMPANY_CODE JOB_GRADE_CODE "
        "CATEGORY_CODE SECTION_CODE DESCRIPTION PERIOD AMOUNT PAYCODE COMPANY DEPARTMENT "
        "JOB_GRADE COST_CENTRE CATEGORY YTDAMOUNT TAXNO COST_CENTRE_DESC "
        "DEPARTMENT_CODE_DESC DIVISION_CODE DIVISION_CODE_DESC OCCUPATION "
        "OCCUPATION_CODE_DESC OCCUPATION_CODE DEPT_CODE COSTCENTRE_CODE DEPARTMENT_DESC "
        "FAMOUNT FCURR_CODE CURR_CODE EXRATE LOCATION_CODE COST_CENTRE_CODE_DESC "
        "SECTION_CODE_DESC HIREDATE HIRED_DATE TERMINATION_STATUS TERMDATE CHAR1 "
        "TERMINATION_DATE STATUS RATE DIVISION PASSPORT_NO DOB CYCLE")
        .split(u' ');

TEST(BuiltTemplates, PivotTemplatesHoldTheRecordRowAndAPivotOverSourceRange) {
  ASSERT_EQ(kPivotFields.size(), 48);
  const struct {
    const char* file;
    QStringList rows;
    QStringList columns;
  } cases[] = {
      {"HISTORY1.XLSX", {"EMP_NO", "EMP_NAME"}, {"DESCRIPTION"}},
      {"HISTORY2.XLSX", {"DEPARTMENT_CODE"}, {"DESCRIPTION"}},
      {"HISTORY3.XLSX", {"DIVISION_CODE"}, {"DESCRIPTION"}},
      {"HISTORY4.XLSX", {"DEPARTMENT_CODE_DESC"}, {"DESCRIPTION"}},
      {"HISTORY5.XLSX", {"DESCRIPTION"}, {"PERIOD"}},
      {"HISTORY6.XLSX", {"OCCUPATION_CODE_DESC"}, {"DESCRIPTION"}},
      {"HISTORY7.XLSX", {"DEPARTMENT"}, {"DESCRIPTION"}},
      {"HISTORY8.XLSX", {"DEPARTMENT", "COST_CENTRE"}, {"DESCRIPTION"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = TemplatePath(QLatin1String(c.file));
    Workbook workbook = Workbook::Open(path);
    EXPECT_EQ(workbook.ActiveSheet(), QStringLiteral("Pivot"));
    const RangeAddress range = ParseRangeAddress(workbook.DefinedName(QStringLiteral("SourceRange")));
    ASSERT_TRUE(range.IsValid());
    ASSERT_EQ(range.last.row, range.first.row + 1);  // header row and field row
    ASSERT_EQ(range.last.column - range.first.column + 1, 48);
    Worksheet& data = workbook.Sheet(range.sheet);
    for (int i = 0; i < 48; ++i) {
      const int column = range.first.column + i;
      EXPECT_EQ(data.Value(CellAddress{range.first.row, column}.ToString()).toString(), kPivotFields[i]);
      EXPECT_EQ(data.Value(CellAddress{range.last.row, column}.ToString()).toString(),
                QStringLiteral("=qryAll_") + kPivotFields[i]);
    }
    EXPECT_EQ(data.Value(QStringLiteral("A1")).toString(), QStringLiteral("=StartDate"));

    const QStringList caches = PivotCacheDefinition::PartsOf(workbook);
    ASSERT_EQ(caches.size(), 1);
    PivotCacheDefinition cache(workbook.Parts(), caches.first());
    EXPECT_EQ(cache.SourceName(), QStringLiteral("SourceRange"));
    EXPECT_TRUE(cache.RefreshOnLoad());
    EXPECT_EQ(cache.FieldNames(), kPivotFields);
    EXPECT_TRUE(cache.RecordsPart().isEmpty());

    const QStringList tables = PivotTableDefinition::PartsUsingCache(workbook.Parts(), caches.first());
    ASSERT_EQ(tables.size(), 1);
    PivotTableDefinition table(workbook.Parts(), tables.first());
    auto names = [](const QList<int>& indexes) {
      QStringList result;
      for (int i : indexes) result.append(kPivotFields.value(i));
      return result;
    };
    EXPECT_EQ(names(table.RowFields()), c.rows);
    EXPECT_EQ(names(table.ColumnFields()), c.columns);
    EXPECT_EQ(names(table.DataFields()), QStringList{QStringLiteral("AMOUNT")});
    // The table lives on the Pivot sheet.
    const QString pivotSheet = workbook.SheetPartName(workbook.SheetIndex(QStringLiteral("Pivot")));
    bool onPivot = false;
    for (const Relationship& r : workbook.Parts().RelationshipsOf(pivotSheet).OfType(reltype::kPivotTable)) {
      onPivot |= Relationships::ResolveTarget(pivotSheet, r.target) == tables.first();
    }
    EXPECT_TRUE(onPivot);

    bool available = false;
    const QString error = test::OpenpyxlLoadError(path, &available);
    if (available) {
      EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    }
  }
}

TEST(BuiltTemplates, MappedTemplateLeavesRoomForPayItemColumns) {
  const QString path = TemplatePath(QStringLiteral("HISTORY9.XLSX"));
  Workbook workbook = Workbook::Open(path);
  EXPECT_GE(workbook.SheetIndex(QStringLiteral("Pivot")), 0);
  const RangeAddress range = ParseRangeAddress(workbook.DefinedName(QStringLiteral("SourceRange")));
  EXPECT_EQ(range.sheet, workbook.SheetName(0));
  EXPECT_EQ(range.first.row, 9);
  EXPECT_EQ(range.last.row, 10);
  EXPECT_EQ(range.first.column, 1);
  EXPECT_GE(range.last.column, ColumnNumber(QStringLiteral("E")) + 199);  // 200 mapped columns from E
  Worksheet& sheet = workbook.Sheet(0);
  const char* fields[] = {"EMP_NO", "EMP_NAME", "DEPARTMENT_CODE", "COST_CENTRE_CODE"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(sheet.Value(ColumnLetters(i + 1) + QStringLiteral("8")).isNull());
    EXPECT_EQ(sheet.Value(ColumnLetters(i + 1) + QStringLiteral("9")).toString(),
              QStringLiteral("=qryAll_") + QLatin1String(fields[i]));
  }
  EXPECT_TRUE(sheet.Value(QStringLiteral("E9")).isNull());
  EXPECT_EQ(sheet.Value(QStringLiteral("B2")).toString(), QStringLiteral("=StartDate"));
  bool available = false;
  const QString error = test::OpenpyxlLoadError(path, &available);
  if (available) {
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  }
}

// The mapped columns written the way the run prepares its working copy: caption, reference and a
// "SUM" with double borders in any column; the filler totals each.
TEST(BuiltTemplates, MappedTemplateFilledWithWrittenColumns) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("mapped"));
  const QString working = folder + QStringLiteral("/Variance.xlsx");
  {
    Workbook workbook = Workbook::Open(TemplatePath(QStringLiteral("HISTORY9.XLSX")));
    Worksheet& sheet = workbook.Sheet(0);
    for (const char* column : {"E", "AA"}) {
      const QString c = QLatin1String(column);
      sheet.SetWrapText(c + u'8', true);
      sheet.SetText(c + u'8', QStringLiteral("Pay ") + c);
      sheet.SetText(c + u'9', QStringLiteral("=qryAll_FIELD_NO") + QString::number(ColumnNumber(c) - 4));
      sheet.AddBorders(c + QStringLiteral("10"), true, true, BorderStyle::Double);
      sheet.SetText(c + QStringLiteral("10"), QStringLiteral("SUM"));
    }
    workbook.SaveAs(working);
  }
  test::VectorRecords records({QStringLiteral("EMP_NO"), QStringLiteral("EMP_NAME"),
                               QStringLiteral("FIELD_NO1"), QStringLiteral("FIELD_NO23")},
                              {{QStringLiteral("E1"), QStringLiteral("Ann"), 100.25, 3.0},
                               {QStringLiteral("E2"), QStringLiteral("Bob"), 200.5, QVariant()}});
  FillOptions options;
  options.parameters.insert(QStringLiteral("StartDate"), QStringLiteral("Variance"));
  const QString output = folder + QStringLiteral("/out.xlsx");
  const FillResult result = FillTemplate(working, output, records, options);
  EXPECT_EQ(result.rowsWritten, 2);
  // DEPARTMENT_CODE and COST_CENTRE_CODE are not in these records: one warning each.
  EXPECT_EQ(result.warnings.size(), 2);
  Workbook filled = Workbook::Open(output);
  Worksheet& sheet = filled.Sheet(0);
  EXPECT_EQ(sheet.Value(QStringLiteral("B10")).toString(), QStringLiteral("Bob"));
  EXPECT_EQ(sheet.Formula(QStringLiteral("E11")), QStringLiteral("SUM(E9:E10)"));
  EXPECT_EQ(sheet.Value(QStringLiteral("E11")).toDouble(), 300.75);
  EXPECT_EQ(sheet.Formula(QStringLiteral("AA11")), QStringLiteral("SUM(AA9:AA10)"));
  EXPECT_EQ(sheet.Value(QStringLiteral("AA11")).toDouble(), 3.0);
  EXPECT_EQ(sheet.Value(QStringLiteral("B2")).toString(), QStringLiteral("Variance"));
  EXPECT_EQ(filled.DefinedName(QStringLiteral("SourceRange")), QStringLiteral("Sheet1!$A$8:$HZ$10"));
}

// LibreOffice opens the filled workbook and computes the pivot from the written rows.
TEST(BuiltTemplates, LibreOfficeComputesThePivotOfAFilledTemplate) {
  if (!test::SofficeAvailable()) GTEST_SKIP() << "soffice is not installed";
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("soffice"));
  const QStringList fields = kPivotFields;
  const int empNo = fields.indexOf(QStringLiteral("EMP_NO"));
  const int name = fields.indexOf(QStringLiteral("EMP_NAME"));
  const int description = fields.indexOf(QStringLiteral("DESCRIPTION"));
  const int amount = fields.indexOf(QStringLiteral("AMOUNT"));
  const struct {
    const char* emp;
    const char* empName;
    const char* item;
    double amount;
  } rows[] = {{"E001", "Ann Tan", "0001-BASIC PAY", 3000.10},
              {"E001", "Ann Tan", "0010-OVERTIME", 250.25},
              {"E002", "Bob Lim", "0001-BASIC PAY", 4100.00},
              {"E003", "Cai Ng", "0010-OVERTIME", 99.99}};
  QList<QVariantList> records;
  double total = 0;
  for (const auto& r : rows) {
    QVariantList record(fields.size());
    record[empNo] = QLatin1String(r.emp);
    record[name] = QLatin1String(r.empName);
    record[description] = QLatin1String(r.item);
    record[amount] = r.amount;
    records.append(record);
    total += r.amount;
  }
  test::VectorRecords source(fields, records);
  FillOptions options;
  options.parameters.insert(QStringLiteral("StartDate"), QStringLiteral("Payroll Register Report"));
  const QString output = folder + QStringLiteral("/filled.xlsx");
  FillTemplate(TemplatePath(QStringLiteral("HISTORY1.XLSX")), output, source, options);

  const QString csv = test::SofficeSheetCsv(output, 2, folder);
  ASSERT_FALSE(csv.isEmpty()) << "LibreOffice wrote no CSV of the Pivot sheet";
  // The grand total row: the last row whose first cell names a total; its last number is the total.
  QString totalLine;
  for (const QString& line : csv.split(u'\n', Qt::SkipEmptyParts)) {
    if (line.contains(QStringLiteral("Total Result")) || line.contains(QStringLiteral("Grand Total")))
      totalLine = line;
  }
  ASSERT_FALSE(totalLine.isEmpty()) << csv.toStdString();
  const QStringList cells = totalLine.split(u',');
  bool ok = false;
  const double grand = QString(cells.last()).remove(u'"').toDouble(&ok);
  ASSERT_TRUE(ok) << totalLine.toStdString();
  EXPECT_NEAR(grand, total, 0.001) << csv.toStdString();
  // Each pay item is a column of the pivot.
  EXPECT_TRUE(csv.contains(QStringLiteral("0001-BASIC PAY")));
  EXPECT_TRUE(csv.contains(QStringLiteral("0010-OVERTIME")));
  EXPECT_TRUE(csv.contains(QStringLiteral("Bob Lim")));
}

}  // namespace
}  // namespace tarno::xlsx
