// The template filler over small templates built here: rows, types, totals, the title, the range,
// the pivot cache left to be rebuilt, the active sheet, missing fields and bad templates.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include "common/TestSupport.h"
#include "context/Errors.h"
#include "xlsx/ContentTypes.h"
#include "xlsx/Package.h"
#include "xlsx/PivotTable.h"
#include "xlsx/TemplateFiller.h"
#include "xlsx/Workbook.h"
#include "xlsx/XlsxTestSupport.h"
#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
using test::LoadPart;
using test::ReadPart;
using test::VectorRecords;

const QString kCacheRecordsPart = QStringLiteral("xl/pivotCache/pivotCacheRecords1.xml");

// Data!A1 title, row 3 headers, row 4 field references (NAME, AMOUNT with a number format, WHEN,
// NOPE which the records lack), row 5 "SUM" under AMOUNT inside the range, row 7 a footer below it.
// The pivot cache over SourceRange holds stale records, as a template saved by an office suite would.
QString BuildTemplate(const QString& folder, bool withPivotSheet = true, bool withRange = true) {
  Workbook workbook = Workbook::CreateNew(QStringLiteral("Data"));
  Worksheet& data = workbook.Sheet(0);
  data.SetText(QStringLiteral("A1"), QStringLiteral("=StartDate"));
  data.SetText(QStringLiteral("A2"), QStringLiteral("Printed: &=StartDate (draft)"));
  const QStringList fields{QStringLiteral("NAME"), QStringLiteral("AMOUNT"), QStringLiteral("WHEN"),
                           QStringLiteral("NOPE")};
  for (int i = 0; i < fields.size(); ++i) {
    const QString letter = ColumnLetters(i + 1);
    data.SetText(letter + u'3', fields[i]);
    if (fields[i] == QStringLiteral("AMOUNT")) data.SetNumber(letter + u'4', 0, QStringLiteral("#,##0.00"));
    data.SetText(letter + u'4', QStringLiteral("=qryAll_") + fields[i].toLower());  // references ignore case
  }
  data.SetText(QStringLiteral("B5"), QStringLiteral("SUM"));
  data.AddBorders(QStringLiteral("B5"), true, true, BorderStyle::Double);
  data.SetText(QStringLiteral("A7"), QStringLiteral("End of report"));
  if (withRange) workbook.SetDefinedName(QStringLiteral("SourceRange"), QStringLiteral("Data!$A$3:$D$5"));
  if (withPivotSheet) {
    workbook.AddSheet(QStringLiteral("Pivot")).SetText(QStringLiteral("A1"), QStringLiteral("=StartDate"));
    PivotTableLayout layout;
    layout.sheetName = QStringLiteral("Pivot");
    layout.sourceName = QStringLiteral("SourceRange");
    layout.fieldNames = fields;
    layout.rowFields = {0};
    layout.dataField = 1;
    layout.dataCaption = QStringLiteral("Sum of AMOUNT");
    AddPivotTable(workbook, layout);

    // Stale records and items, linked as an office suite links them.
    Package& package = workbook.Parts();
    const QString cachePart = QStringLiteral("xl/pivotCache/pivotCacheDefinition1.xml");
    package.SetData(kCacheRecordsPart,
                    "<pivotCacheRecords count=\"1\"><r><x v=\"0\"/><n v=\"5\"/></r></pivotCacheRecords>",
                    media::kPivotCacheRecords);
    Relationships cacheRels;
    const QString id = cacheRels.Add(reltype::kPivotCacheRecords, QStringLiteral("pivotCacheRecords1.xml"));
    package.SetRelationshipsOf(cachePart, cacheRels);
    QByteArray cache = package.Data(cachePart);
    cache.replace("recordCount=\"0\"", "recordCount=\"1\" r:id=\"" + id.toUtf8() + "\"");
    cache.replace(
        "<cacheField name=\"NAME\" numFmtId=\"0\"><sharedItems/>",
        "<cacheField name=\"NAME\" numFmtId=\"0\"><sharedItems count=\"1\"><s v=\"Old\"/></sharedItems>");
    package.SetData(cachePart, cache);
    const QString tablePart = QStringLiteral("xl/pivotTables/pivotTable1.xml");
    QByteArray table = package.Data(tablePart);
    table.replace("<items count=\"1\"><item t=\"default\"/></items>",
                  "<items count=\"2\"><item x=\"0\"/><item t=\"default\"/></items>");
    table.replace("<rowItems count=\"1\"><i t=\"grand\"><x/></i></rowItems>",
                  "<rowItems count=\"2\"><i><x/></i><i t=\"grand\"><x/></i></rowItems>");
    package.SetData(tablePart, table);
  }
  workbook.SetActiveSheet(QStringLiteral("Data"));
  const QString path = folder + QStringLiteral("/template.xlsx");
  workbook.SaveAs(path);
  return path;
}

VectorRecords ThreeRecords() {
  return VectorRecords({QStringLiteral("NAME"), QStringLiteral("AMOUNT"), QStringLiteral("WHEN")},
                       {{QStringLiteral("Tan & <Co>"), 1000.10, QDate(2024, 1, 31)},
                        {QStringLiteral("Lim"), qint64(250), QVariant()},
                        {QVariant(), -0.05, QDate(1900, 3, 1)}});
}

FillOptions Title(const QString& title) {
  FillOptions options;
  options.parameters.insert(QStringLiteral("StartDate"), title);
  return options;
}

TEST(TemplateFiller, WritesOneTypedRowPerRecordAndMovesWhatFollows) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("fill"));
  const QString templatePath = BuildTemplate(folder);
  const QString output = folder + QStringLiteral("/out.xlsx");
  VectorRecords records = ThreeRecords();
  const FillResult result =
      FillTemplate(templatePath, output, records, Title(QStringLiteral("Payroll 202401")));
  EXPECT_EQ(result.rowsWritten, 3);

  Workbook workbook = Workbook::Open(output);
  Worksheet& data = workbook.Sheet(QStringLiteral("Data"));
  EXPECT_EQ(data.Value(QStringLiteral("A1")).toString(), QStringLiteral("Payroll 202401"));
  EXPECT_EQ(data.Value(QStringLiteral("A2")).toString(), QStringLiteral("Printed: Payroll 202401 (draft)"));
  EXPECT_EQ(workbook.Sheet(QStringLiteral("Pivot")).Value(QStringLiteral("A1")).toString(),
            QStringLiteral("Payroll 202401"));
  EXPECT_EQ(data.Value(QStringLiteral("A3")).toString(), QStringLiteral("NAME"));  // header kept

  const struct {
    const char* cell;
    QVariant expected;
  } cells[] = {{"A4", QStringLiteral("Tan & <Co>")},
               {"B4", 1000.10},
               {"C4", 45322.0},  // 31/01/2024
               {"A5", QStringLiteral("Lim")},
               {"B5", 250.0},
               {"C5", QVariant()},
               {"A6", QVariant()},
               {"B6", -0.05},
               {"C6", 61.0},  // 01/03/1900
               {"D4", QVariant()},
               {"A9", QStringLiteral("End of report")}};
  for (const auto& c : cells) {
    const QVariant value = data.Value(QLatin1String(c.cell));
    EXPECT_EQ(value.isNull(), c.expected.isNull()) << c.cell;
    if (!c.expected.isNull()) {
      EXPECT_EQ(value, c.expected) << c.cell;
    }
  }
  // Formats: the amount keeps the template's format on every row; dates get a date format.
  const int amountStyle = data.StyleIndex(QStringLiteral("B4"));
  EXPECT_NE(amountStyle, 0);
  EXPECT_EQ(data.StyleIndex(QStringLiteral("B6")), amountStyle);
  pugi::xml_document styles;
  LoadPart(styles, output, QStringLiteral("xl/styles.xml"));
  auto formatOf = [&](int xf) {
    pugi::xml_node node = styles.document_element().child("cellXfs").first_child();
    for (int i = 0; i < xf; ++i) node = node.next_sibling();
    return node.attribute("numFmtId").as_int();
  };
  EXPECT_EQ(formatOf(amountStyle), 4);  // "#,##0.00"
  const int dateFormat = formatOf(data.StyleIndex(QStringLiteral("C4")));
  EXPECT_STREQ(styles.document_element()
                   .child("numFmts")
                   .find_child_by_attribute("numFmtId", std::to_string(dateFormat).c_str())
                   .attribute("formatCode")
                   .value(),
               "dd/mm/yyyy");

  // The SUM cell moved below the data with a formula and the exact total as its cached value.
  EXPECT_EQ(data.Formula(QStringLiteral("B7")), QStringLiteral("SUM(B4:B6)"));
  EXPECT_EQ(data.Value(QStringLiteral("B7")).toDouble(), 1250.05);
  EXPECT_NE(data.StyleIndex(QStringLiteral("B7")), 0);  // its double borders kept

  EXPECT_EQ(workbook.DefinedName(QStringLiteral("SourceRange")), QStringLiteral("Data!$A$3:$D$6"));
  EXPECT_EQ(workbook.ActiveSheet(), QStringLiteral("Pivot"));
  EXPECT_FALSE(ReadPart(output, QStringLiteral("xl/worksheets/sheet1.xml")).contains("tabSelected"));
  EXPECT_TRUE(ReadPart(output, QStringLiteral("xl/worksheets/sheet2.xml")).contains("tabSelected=\"1\""));

  ASSERT_EQ(result.warnings.size(), 1);
  EXPECT_TRUE(result.warnings.first().contains(QStringLiteral("nope")))
      << result.warnings.first().toStdString();
  EXPECT_TRUE(result.warnings.first().contains(QStringLiteral("D4")));

  bool available = false;
  const QString error = test::OpenpyxlLoadError(output, &available);
  if (available) {
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  }
}

TEST(TemplateFiller, PivotCacheIsLeftEmptyAndConsistentForRebuilding) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("pivot"));
  const QString templatePath = BuildTemplate(folder);
  ASSERT_TRUE(test::HasPart(templatePath, kCacheRecordsPart));
  const QString output = folder + QStringLiteral("/out.xlsx");
  VectorRecords records = ThreeRecords();
  FillTemplate(templatePath, output, records, Title(QStringLiteral("t")));

  EXPECT_FALSE(test::HasPart(output, kCacheRecordsPart));
  EXPECT_FALSE(ReadPart(output, QStringLiteral("[Content_Types].xml")).contains("pivotCacheRecords"));
  EXPECT_FALSE(test::HasPart(output, QStringLiteral("xl/pivotCache/_rels/pivotCacheDefinition1.xml.rels")));

  pugi::xml_document cache;
  LoadPart(cache, output, QStringLiteral("xl/pivotCache/pivotCacheDefinition1.xml"));
  const pugi::xml_node root = cache.document_element();
  EXPECT_STREQ(root.attribute("refreshOnLoad").value(), "1");
  EXPECT_STREQ(root.attribute("recordCount").value(), "0");
  EXPECT_FALSE(root.attribute("r:id"));
  EXPECT_STREQ(root.child("cacheSource").child("worksheetSource").attribute("name").value(), "SourceRange");
  for (pugi::xml_node field : root.child("cacheFields").children("cacheField")) {
    EXPECT_FALSE(field.child("sharedItems").first_child()) << field.attribute("name").value();
  }

  pugi::xml_document table;
  LoadPart(table, output, QStringLiteral("xl/pivotTables/pivotTable1.xml"));
  for (pugi::xml_node field : table.document_element().child("pivotFields").children("pivotField")) {
    for (pugi::xml_node item : field.child("items").children("item")) {
      EXPECT_STREQ(item.attribute("t").value(), "default");
    }
  }
  const pugi::xml_node rowItems = table.document_element().child("rowItems");
  EXPECT_STREQ(rowItems.attribute("count").value(), "1");
  EXPECT_STREQ(rowItems.first_child().attribute("t").value(), "grand");
  // The table still reaches its cache, and the workbook still lists it.
  EXPECT_TRUE(test::HasPart(output, QStringLiteral("xl/pivotTables/_rels/pivotTable1.xml.rels")));
  EXPECT_TRUE(ReadPart(output, QStringLiteral("xl/workbook.xml")).contains("<pivotCache "));
}

TEST(TemplateFiller, NoRecordsLeavesHeaderOnlyAndZeroTotal) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("empty"));
  const QString templatePath = BuildTemplate(folder);
  const QString output = folder + QStringLiteral("/out.xlsx");
  VectorRecords records({QStringLiteral("NAME"), QStringLiteral("AMOUNT"), QStringLiteral("WHEN")}, {});
  const FillResult result = FillTemplate(templatePath, output, records, Title(QStringLiteral("t")));
  EXPECT_EQ(result.rowsWritten, 0);
  Workbook workbook = Workbook::Open(output);
  Worksheet& data = workbook.Sheet(0);
  EXPECT_EQ(data.Value(QStringLiteral("B4")).toDouble(), 0.0);  // the SUM row moved up into the field row
  EXPECT_TRUE(data.Formula(QStringLiteral("B4")).isEmpty());
  EXPECT_EQ(data.Value(QStringLiteral("A6")).toString(), QStringLiteral("End of report"));
  EXPECT_EQ(workbook.DefinedName(QStringLiteral("SourceRange")), QStringLiteral("Data!$A$3:$D$3"));
}

TEST(TemplateFiller, BadTemplatesAndOutputsGiveClearErrorsAndWriteNothing) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("bad"));
  const QString noPivot = BuildTemplate(tarno::test::ScratchFolder(QStringLiteral("bad/nopivot")), false);
  const QString noRange =
      BuildTemplate(tarno::test::ScratchFolder(QStringLiteral("bad/norange")), true, false);
  const QString good = BuildTemplate(tarno::test::ScratchFolder(QStringLiteral("bad/good")));
  Workbook::CreateNew().SaveAs(folder + QStringLiteral("/existing.xlsx"));
  QFile existingFile(folder + QStringLiteral("/existing.xlsx"));
  ASSERT_TRUE(existingFile.open(QIODevice::ReadOnly));
  const QByteArray existingBytes = existingFile.readAll();
  existingFile.close();

  FillOptions otherAlias = Title(QStringLiteral("t"));
  otherAlias.alias = QStringLiteral("qryOther");
  const struct {
    const char* what;
    QString templatePath;
    QString output;
    FillOptions options;
    QStringList mustMention;
  } cases[] = {
      {"missing template",
       folder + QStringLiteral("/HISTORY1.XLSX"),
       folder + QStringLiteral("/a.xlsx"),
       FillOptions{},
       {QStringLiteral("HISTORY1.XLSX"), QStringLiteral("does not exist")}},
      {"no range",
       noRange,
       folder + QStringLiteral("/b.xlsx"),
       FillOptions{},
       {QStringLiteral("template.xlsx"), QStringLiteral("\"SourceRange\"")}},
      {"no Pivot sheet",
       noPivot,
       folder + QStringLiteral("/c.xlsx"),
       FillOptions{},
       {QStringLiteral("\"Pivot\"")}},
      {"no field references for the alias",
       good,
       folder + QStringLiteral("/d.xlsx"),
       otherAlias,
       {QStringLiteral("=qryOther_")}},
      {"output folder missing",
       good,
       folder + QStringLiteral("/none/e.xlsx"),
       FillOptions{},
       {QStringLiteral("e.xlsx")}},
  };
  for (const auto& c : cases) {
    VectorRecords records = ThreeRecords();
    try {
      FillTemplate(c.templatePath, c.output, records, c.options);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const OutputError& error) {
      for (const QString& part : c.mustMention) {
        EXPECT_TRUE(error.Text().contains(part)) << c.what << ": " << error.Text().toStdString();
      }
    }
    EXPECT_FALSE(QFile::exists(c.output)) << c.what;
  }
  // Only the file that was there before is left: no temporary files.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("existing.xlsx")});
}

// A cell holding the reference as a formula (as an office suite saves "=qryAll_X" typed into a cell)
// is a field reference too, and a pivot cache over the range's address is moved to the name.
TEST(TemplateFiller, AcceptsFormulaReferencesAndCachesOverTheAddress) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("formularef"));
  const QString built = BuildTemplate(folder);
  const QString templatePath = folder + QStringLiteral("/edited.xlsx");
  {
    Workbook workbook = Workbook::Open(built);
    workbook.Sheet(0).SetFormula(QStringLiteral("A4"), QStringLiteral("qryAll_NAME"), 0);
    Package& package = workbook.Parts();
    const QString cachePart = QStringLiteral("xl/pivotCache/pivotCacheDefinition1.xml");
    QByteArray cache = package.Data(cachePart);
    cache.replace("name=\"SourceRange\"", "ref=\"A3:D5\" sheet=\"Data\"");
    package.SetData(cachePart, cache);
    workbook.SaveAs(templatePath);
  }
  const QString output = folder + QStringLiteral("/out.xlsx");
  VectorRecords records = ThreeRecords();
  FillTemplate(templatePath, output, records, Title(QStringLiteral("t")));
  Workbook workbook = Workbook::Open(output);
  EXPECT_EQ(workbook.Sheet(0).Value(QStringLiteral("A5")).toString(), QStringLiteral("Lim"));
  EXPECT_TRUE(workbook.Sheet(0).Formula(QStringLiteral("A5")).isEmpty());
  const QByteArray cache = ReadPart(output, QStringLiteral("xl/pivotCache/pivotCacheDefinition1.xml"));
  EXPECT_TRUE(cache.contains("name=\"SourceRange\""));
  EXPECT_FALSE(cache.contains("ref=\"A3:D5\""));
}

}  // namespace
}  // namespace tarno::xlsx
