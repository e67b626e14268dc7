// The working template of the mapped kinds: one column per EXCELMAP item, the year-to-date title,
// bad to-periods, the lock that keeps two runs from sharing it, and bad templates.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <thread>

#include "MappedTestData.h"
#include "common/TestSupport.h"
#include "context/Errors.h"
#include "context/Settings.h"
#include "outputs/MappedTemplate.h"

namespace tarno::test {
namespace {

using outputs::PrepareMappedTemplate;

class MappedTemplateTest : public ::testing::Test {
 protected:
  MappedTemplateTest() : db(QStringLiteral("mapped-template")) {
    reportsRoot = db.Folder() + QStringLiteral("/reports");  // missing: the preparation creates it
    SetReportsRoot(reportsRoot);
    templatePath = MakeMappedTemplate(db.Folder());
  }
  ~MappedTemplateTest() override { SetReportsRoot(QString()); }

  void AddItems() {
    AddMapRow(db, {"GROSS_WAGE", "Gross Wages", "", "C", "E", "FIELD_NO1", "", true}, QVariant());
    AddMapRow(db, {"$TRN", "Transport", "CPFWAGE", "A", "AA", "FIELD_NO23", "", true}, QVariant());
    AddMapRow(db, {"CPFRATE", "CPF %", "Z", "P", "K", "PERCENT", "", false}, "Y");
    AddMapRow(db, {"$WIDE", "Wide item", "Z", "Z", "GW", "", "", true}, QVariant());
  }

  outputs::PreparedTemplate Prepare(int kind, const QString& periodTo, int timeoutMs = 60000) {
    db::Table excelMap(db.connection(), QStringLiteral("EXCELMAP"));
    excelMap.SetIndexFieldNames(QStringLiteral("PAYITEM"));
    return PrepareMappedTemplate(templatePath, excelMap, kind, periodTo, timeoutMs);
  }

  ScratchDatabase db;
  QString reportsRoot;
  QString templatePath;
};

TEST_F(MappedTemplateTest, WritesCaptionReferenceAndTotalIntoEachItemsColumn) {
  AddItems();
  outputs::PreparedTemplate prepared = Prepare(8, "200402");
  EXPECT_EQ(prepared.path, reportsRoot + "/Variance.xlsx");
  ASSERT_TRUE(QFileInfo::exists(prepared.path));

  xlsx::Workbook workbook = xlsx::Workbook::Open(prepared.path);
  xlsx::Worksheet& sheet = workbook.Sheet(0);
  const struct {
    const char* column;
    const char* caption;
    const char* reference;  // nullptr: the cell stays empty
  } cases[] = {{"E", "Gross Wages", "=qryAll_FIELD_NO1"},
               {"AA", "Transport", "=qryAll_FIELD_NO23"},
               {"K", "CPF %", "=qryAll_PERCENT"},
               {"GW", "Wide item", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    const QString column = QString::fromLatin1(c.column);
    EXPECT_EQ(sheet.Value(column + "8").toString(), c.caption);
    if (c.reference)
      EXPECT_EQ(sheet.Value(column + "9").toString(), c.reference);
    else
      EXPECT_TRUE(sheet.Value(column + "9").isNull());
    EXPECT_EQ(sheet.Value(column + "10").toString(), "SUM");
    EXPECT_NE(sheet.StyleIndex(column + "8"), 0);   // wrap text
    EXPECT_NE(sheet.StyleIndex(column + "10"), 0);  // double borders
    EXPECT_NE(sheet.StyleIndex(column + "8"), sheet.StyleIndex(column + "10"));
  }
  // The template's own cells stay; kind 8 writes no title.
  EXPECT_EQ(sheet.Value("A9").toString(), "=qryAll_EMP_NO");
  EXPECT_EQ(sheet.Value("B2").toString(), "template title");
  EXPECT_GE(workbook.SheetIndex("Pivot"), 0);
  EXPECT_EQ(workbook.DefinedName("SourceRange"), "Sheet1!$A$9:$HZ$10");
}

TEST_F(MappedTemplateTest, YearToDateTitleNamesTheToPeriodInEnglish) {
  const struct {
    const char* periodTo;
    const char* title;
  } cases[] = {{"200401", "Jan 04 YTD Payroll Report"},
               {"200412", "Dec 04 YTD Payroll Report"},
               {"199907", "Jul 99 YTD Payroll Report"},
               {"201005", "May 10 YTD Payroll Report"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.periodTo);
    outputs::PreparedTemplate prepared = Prepare(9, c.periodTo);
    xlsx::Workbook workbook = xlsx::Workbook::Open(prepared.path);
    EXPECT_EQ(workbook.Sheet(0).Value("B2").toString(), c.title);
    // An empty map leaves the template's columns as they were.
    EXPECT_TRUE(workbook.Sheet(0).Value("E8").isNull());
  }
}

TEST_F(MappedTemplateTest, ToPeriodWithoutAMonthFailsBeforeAnythingIsSaved) {
  AddItems();
  const QString working = outputs::WorkingTemplatePath();
  QDir().mkpath(reportsRoot);
  {
    QFile old(working);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an earlier run's template");
  }
  for (const char* period : {"2004AB", "200413", "200400", "2004", ""}) {
    SCOPED_TRACE(period);
    try {
      Prepare(9, QString::fromLatin1(period));
      ADD_FAILURE() << "no error";
    } catch (const OutputError& error) {
      EXPECT_TRUE(error.Text().contains(QStringLiteral("'%1'").arg(period))) << error.what();
    }
    EXPECT_EQ(FileBytes(working), "an earlier run's template");
  }
  // Kind 8 writes no title, so its to-period is not read here.
  EXPECT_NO_THROW(Prepare(8, "2004AB"));
}

TEST_F(MappedTemplateTest, MissingTemplateIsAClearError) {
  templatePath = db.Folder() + "/missing/HISTORY9.XLSX";
  try {
    Prepare(8, "200402");
    ADD_FAILURE() << "no error";
  } catch (const OutputError& error) {
    EXPECT_TRUE(error.Text().contains("HISTORY9.XLSX")) << error.what();
  }
  EXPECT_FALSE(QFileInfo::exists(outputs::WorkingTemplatePath()));
}

// A second run waits for the working template while the first holds it, and fails with a clear
// error after its time-out without touching the file.
TEST_F(MappedTemplateTest, SecondRunWaitsForTheWorkingTemplate) {
  AddItems();
  outputs::PreparedTemplate first = Prepare(8, "200402");
  const QByteArray firstBytes = FileBytes(first.path);
  try {
    Prepare(9, "200402", 300);
    ADD_FAILURE() << "no error";
  } catch (const OutputError& error) {
    EXPECT_TRUE(error.Text().contains("in use")) << error.what();
  }
  EXPECT_EQ(FileBytes(first.path), firstBytes);

  // Released while the second run waits: it goes on.
  std::thread release([&first] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    first.lock.reset();
  });
  outputs::PreparedTemplate second = Prepare(9, "200402", 10000);
  release.join();
  EXPECT_EQ(xlsx::Workbook::Open(second.path).Sheet(0).Value("B2").toString(), "Feb 04 YTD Payroll Report");
}

}  // namespace
}  // namespace tarno::test
