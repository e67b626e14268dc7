// The variance workbook: totals rows below the data, differences in fixed point, the list of changed
// items, the title and file name from the periods, the company folder, items without a field, and
// periods without a month.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "MappedTestData.h"
#include "context/Errors.h"
#include "context/Settings.h"
#include "outputs/VarianceWorkbook.h"
#include "xlsx/Package.h"

namespace tarno::test {
namespace {

class VarianceWorkbookTest : public ::testing::Test {
 protected:
  VarianceWorkbookTest() : db(QStringLiteral("variance")) {
    reportsRoot = db.Folder() + QStringLiteral("/reports");
    SetReportsRoot(reportsRoot);
    // Items in ITEM;ITEMTYPE;PAYITEM order: BASIC, $BONUS, $TRN, CPFEMPER (with a line mark), SDF, CPFRATE.
    AddMapRow(db, {"BASIC", "Basic Salary", "A", "A", "E", "FIELD_NO1", "", true}, QVariant());
    AddMapRow(db, {"$TRN", "Transport", "CPFWAGE", "A", "G", "FIELD_NO3", "", true}, QVariant());
    AddMapRow(db, {"$BONUS", "Bonus", "CPFWAGE", "A", "F", "FIELD_NO2", "", true}, QVariant());
    AddMapRow(db, {"CPFEMPER", "Employer CPF", "Z", "C", "H", "FIELD_NO4", "L1", true}, "Y");
    AddMapRow(db, {"SDF", "SDL", "Z", "C", "I", "FIELD_NO5", "", true}, QVariant());
    AddMapRow(db, {"CPFRATE", "CPF %", "Z", "P", "J", "PERCENT", "", false}, "Y");
    // January: two employees; February: basic up, bonus down, transport up by 0.001, CPF up, SDL
    // equal once rounded to four decimals.
    AddAmounts("200401", "E001", {3000, 500, 60, 500, 5});
    AddAmounts("200401", "E002", {2000, 0, 40, 300, 5});
    AddAmounts("200402", "E001", {3100, 400, 60.001, 520, 5.00004});
    AddAmounts("200402", "E002", {2100, 0, 40, 330, 5});
  }
  ~VarianceWorkbookTest() override { SetReportsRoot(QString()); }

  void AddAmounts(const QString& period, const QString& employee, const std::vector<double>& amounts) {
    QStringList columns = {"PERIOD", "CYCLE", "EMPCODE"};
    QVariantList values = {period, "E", employee};
    for (std::size_t i = 0; i < amounts.size(); ++i) {
      columns << QStringLiteral("FIELD_NO%1").arg(i + 1);
      values << amounts[i];
    }
    db.Insert("RP_HTRX", columns, values);
  }

  // The saved output workbook the variance report starts from: employees in B9 onwards.
  QString MakeOutputWorkbook(const QStringList& employees) {
    const QString path = db.Folder() + "/Payroll Variance Report.xlsx";
    xlsx::Workbook workbook = xlsx::Workbook::CreateNew("Sheet1");
    int row = 9;
    for (const QString& name : employees) workbook.Sheet(0).SetText(QStringLiteral("B%1").arg(row++), name);
    workbook.AddSheet("Pivot");
    workbook.SaveAs(path);
    return path;
  }

  QString Write(const QString& workbookPath, const QString& from, const QString& to,
                const QString& company = QStringLiteral("A/B Trading")) {
    db::Table excelMap(db.connection(), QStringLiteral("EXCELMAP"));
    excelMap.SetIndexFieldNames(QStringLiteral("PAYITEM"));
    db::Query sums(db.connection());
    outputs::VarianceRequest request;
    request.workbookPath = workbookPath;
    request.periodFrom = from;
    request.periodTo = to;
    request.company = company;
    request.reportFolderNo = 3;
    request.tablePassword = TDataModule1::GetTablePassword();
    return outputs::WriteVarianceWorkbook(excelMap, sums, request);
  }

  ScratchDatabase db;
  QString reportsRoot;
};

TEST_F(VarianceWorkbookTest, WritesTotalsDifferencesAndTheChangedItems) {
  RecordingInterface ui;
  const QString source = MakeOutputWorkbook({"Tan Ah Kow", "Siti Aminah", "Kumar s/o Rajan"});
  const QByteArray sourceBytes = FileBytes(source);

  const QString path = Write(source, "200401", "200402");

  // "A/B Trading" names the folder without its slash.
  EXPECT_EQ(path, reportsRoot + "/AB Trading/3/Jan 04 Vs Feb 04 Variance Report.xlsx");
  ASSERT_TRUE(QFileInfo::exists(path));
  EXPECT_EQ(FileBytes(source), sourceBytes);  // the output workbook stays as it was

  xlsx::Workbook workbook = xlsx::Workbook::Open(path);
  xlsx::Worksheet& sheet = workbook.Sheet(0);
  // B12 is the first empty cell from B9: T = 13.
  const struct {
    const char* cell;
    QVariant value;
  } cells[] = {
      {"B2", "Jan 04 Vs Feb 04 Variance Report"},
      {"B13", "Jan 04 Total"},
      {"B14", "Feb 04 Total"},
      {"B15", "Difference"},
      {"B16", QVariant()},
      {"B17", QVariant()},
      {"B18", "Variance due to:"},
      {"E13", 5000.0},
      {"E14", 5200.0},
      {"E15", 200.0},
      {"F13", 500.0},
      {"F14", 400.0},
      {"F15", -100.0},
      {"G15", 0.001},
      {"H13", 800.0},
      {"H14", 850.0},
      {"H15", 50.0},
      {"I15", 0.0},         // equal once rounded to four decimals
      {"J13", QVariant()},  // PERCENT: no field in RP_HTRX
      // The list, in item order: the fallen bonus, basic, transport by 0.001; not CPF (line mark), not SDL.
      {"B19", "Basic Salary"},
      {"E19", 200.0},
      {"B20", "Bonus"},
      {"F20", -100.0},
      {"E20", QVariant()},
      {"B21", "Transport"},
      {"G21", 0.001},
      {"B22", QVariant()},
  };
  for (const auto& c : cells) {
    SCOPED_TRACE(c.cell);
    const QVariant actual = sheet.Value(QString::fromLatin1(c.cell));
    if (c.value.isNull())
      EXPECT_TRUE(actual.isNull()) << actual.toString().toStdString();
    else if (c.value.typeId() == QMetaType::Double)
      EXPECT_NEAR(actual.toDouble(), c.value.toDouble(), 1e-9) << actual.toString().toStdString();
    else
      EXPECT_EQ(actual.toString(), c.value.toString());
  }
  EXPECT_TRUE(workbook.Parts().Data("xl/styles.xml").contains("formatCode=\"#,###0.00\""));
  EXPECT_NE(sheet.StyleIndex("E13"), 0);                        // "#,###0.00"
  EXPECT_NE(sheet.StyleIndex("G21"), sheet.StyleIndex("E13"));  // "0.00"
  ASSERT_EQ(ui.warnings.size(), 1);
  EXPECT_TRUE(ui.warnings[0].contains("CPFRATE")) << ui.warnings[0].toStdString();
}

TEST_F(VarianceWorkbookTest, EqualPeriodsGiveZeroDifferencesAndAnEmptyList) {
  const QString path = Write(MakeOutputWorkbook({}), "200402", "200402", "Acme");
  EXPECT_EQ(path, reportsRoot + "/Acme/3/Feb 04 Vs Feb 04 Variance Report.xlsx");
  xlsx::Workbook workbook = xlsx::Workbook::Open(path);
  xlsx::Worksheet& sheet = workbook.Sheet(0);
  // B9 empty: T = 10.
  EXPECT_EQ(sheet.Value("B10").toString(), "Feb 04 Total");
  EXPECT_EQ(sheet.Value("B11").toString(), "Feb 04 Total");
  EXPECT_EQ(sheet.Value("B12").toString(), "Difference");
  EXPECT_EQ(sheet.Value("B15").toString(), "Variance due to:");
  EXPECT_NEAR(sheet.Value("E10").toDouble(), 5200, 1e-9);
  for (const char* cell : {"E12", "F12", "G12", "H12", "I12"})
    EXPECT_EQ(sheet.Value(cell).toDouble(), 0.0) << cell;
  EXPECT_TRUE(sheet.Value("B16").isNull());
}

TEST_F(VarianceWorkbookTest, PeriodWithoutAMonthFailsBeforeAnythingIsWritten) {
  const QString source = MakeOutputWorkbook({"Tan Ah Kow"});
  const struct {
    const char* from;
    const char* to;
    const char* named;
  } cases[] = {
      {"2004AB", "200402", "2004AB"}, {"200401", "200413", "200413"}, {"200400", "200402", "200400"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    try {
      Write(source, c.from, c.to);
      ADD_FAILURE() << "no error";
    } catch (const OutputError& error) {
      EXPECT_TRUE(error.Text().contains(QString::fromLatin1(c.named))) << error.what();
    }
  }
  EXPECT_FALSE(QFileInfo::exists(reportsRoot + "/AB Trading"));
}

}  // namespace
}  // namespace tarno::test
