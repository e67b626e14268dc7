// The workbook form of the mapped kinds: the title, a fill of the working template from RP_HTRX of
// the to-period with column totals, and a template without its data range.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "MappedTestData.h"
#include "context/Errors.h"
#include "context/Settings.h"
#include "outputs/MappedTemplate.h"
#include "outputs/TFormTarnoExel2.h"

namespace tarno::test {
namespace {

TEST(MappedFormTitle, NamesOnePeriodOrTheRange) {
  EXPECT_EQ(outputs::PayrollRegisterTitle("Acme", "200402", "200402"),
            "Payroll Register Report for Acme as at Period : 200402");
  EXPECT_EQ(outputs::PayrollRegisterTitle("Acme", "200401", "200402"),
            "Payroll Register Report for Acme From Period : 200401 To 200402");
}

class MappedFormTest : public ::testing::Test {
 protected:
  MappedFormTest() : db(QStringLiteral("mapped-form")) {
    SetReportsRoot(db.Folder() + QStringLiteral("/reports"));
    AddMapRow(db, {"BASIC", "Basic Salary", "A", "A", "E", "FIELD_NO1", "", true}, QVariant());
    AddMapRow(db, {"$TRN", "Transport", "CPFWAGE", "A", "F", "FIELD_NO2", "", true}, QVariant());
    for (const auto& [emp, name] : {std::pair{"E001", "Tan Ah Kow"}, std::pair{"E002", "Siti Aminah"}})
      db.Insert("EMPLOYEE", {"EMP_NO", "EMP_NAME"}, {emp, name});
    db.Insert("RP_HTRX", {"PERIOD", "CYCLE", "EMPCODE", "FIELD_NO1", "FIELD_NO2"},
              {"200402", "E", "E001", 3000, 120.5});
    db.Insert("RP_HTRX", {"PERIOD", "CYCLE", "EMPCODE", "FIELD_NO1", "FIELD_NO2"},
              {"200402", "E", "E002", 2000, 0});
    db.Insert("RP_HTRX", {"PERIOD", "CYCLE", "EMPCODE", "FIELD_NO1", "FIELD_NO2"},
              {"200401", "E", "E001", 999, 9});
  }
  ~MappedFormTest() override { SetReportsRoot(QString()); }

  // Prepares the working template from templatePath, fills it for the to-period and saves it.
  xlsx::FillResult PrepareAndFill(const QString& templatePath, const QString& output) {
    db::Table excelMap(db.connection(), QStringLiteral("EXCELMAP"));
    excelMap.SetIndexFieldNames(QStringLiteral("PAYITEM"));
    outputs::PreparedTemplate prepared = outputs::PrepareMappedTemplate(templatePath, excelMap, 8, "200402");
    outputs::TFormTarnoExel2 form(db.connection(), TDataModule1::GetTablePassword());
    EXPECT_EQ(form.XLSTemplate, prepared.path);
    form.Params.insert("StartDate", "title");
    form.qryAll.SetParam("PERIOD1", "200402");
    form.qryAll.Open();
    return form.FillAndSave(output);
  }

  ScratchDatabase db;
};

TEST_F(MappedFormTest, FillsOneRowPerEmployeeOfThePeriodWithColumnTotals) {
  const QString output = db.Folder() + "/Payroll Variance Report.xlsx";
  const xlsx::FillResult result = PrepareAndFill(MakeMappedTemplate(db.Folder()), output);
  EXPECT_EQ(result.rowsWritten, 2);

  xlsx::Workbook workbook = xlsx::Workbook::Open(output);
  xlsx::Worksheet& sheet = workbook.Sheet(0);
  EXPECT_EQ(sheet.Value("E8").toString(), "Basic Salary");
  EXPECT_EQ(sheet.Value("A9").toString(), "E001");
  EXPECT_EQ(sheet.Value("B10").toString(), "Siti Aminah");
  EXPECT_NEAR(sheet.Value("E9").toDouble(), 3000, 1e-9);
  EXPECT_NEAR(sheet.Value("F9").toDouble(), 120.5, 1e-9);
  // The totals row below the records: the to-period only.
  EXPECT_NEAR(sheet.Value("E11").toDouble(), 5000, 1e-9);
  EXPECT_NEAR(sheet.Value("F11").toDouble(), 120.5, 1e-9);
  EXPECT_TRUE(sheet.Value("B11").isNull() || sheet.Value("B11").toString().isEmpty());
}

TEST_F(MappedFormTest, TemplateWithoutDataRangeIsAClearErrorAndWritesNothing) {
  const QString output = db.Folder() + "/Payroll Variance Report.xlsx";
  try {
    PrepareAndFill(MakeMappedTemplate(db.Folder(), false), output);
    ADD_FAILURE() << "no error";
  } catch (const OutputError& error) {
    EXPECT_TRUE(error.Text().contains("SourceRange")) << error.what();
  }
  EXPECT_FALSE(QFileInfo::exists(output));
}

}  // namespace
}  // namespace tarno::test
