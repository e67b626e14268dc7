// The fill of RP_HTRX for the mapped kinds: one row per employee, period and selected run (kind 8)
// or one year-to-date row per employee (kind 9), amounts per EXCELMAP field, only the operator's
// employees, and the rows of other periods left alone.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include "MappedTestData.h"
#include "outputs/ReportHistoryFill.h"

namespace tarno::test {
namespace {

// Two employees of ADMIN and one of another user, January and February 2004, end- and mid-month runs.
class ReportHistoryFillTest : public ::testing::Test {
 protected:
  ReportHistoryFillTest() : db(QStringLiteral("history-fill")) {
    db.Insert("EMPSERV", {"EMP_NO", "USERID"}, {"E001", "ADMIN"});
    db.Insert("EMPSERV", {"EMP_NO", "USERID"}, {"E002", "ADMIN"});
    db.Insert("EMPSERV", {"EMP_NO", "USERID"}, {"E003", "CLERK"});
    AddAllowance(db, "$TRN", 2004, "Transport", "");
    AddAllowance(db, "@$LOAN", 2004, "Loan", "N");
    AddHistory(db, "200401", "E", "E001", {{"BASIC", 3000}, {"CPFEMPER", 510.25}, {"DEPARTMENT", "ENG"}});
    AddHistory(db, "200401", "M", "E001", {{"BASIC", 1000}, {"DEPARTMENT", "ENG"}});
    AddHistory(db, "200402", "E", "E001", {{"BASIC", 3100}, {"CPFEMPER", 527}, {"DEPARTMENT", "OPS"}});
    AddHistory(db, "200402", "E", "E002", {{"BASIC", 2000}, {"OTAMT", 75.5}});
    AddHistory(db, "200402", "E", "E003", {{"BASIC", 9999}});
    AddPayment(db, "200401", "E", "E001", "$TRN", 100);
    AddPayment(db, "200401", "E", "E001", "$TRN", 20.05);
    AddPayment(db, "200401", "M", "E001", "$TRN", 7);
    AddPayment(db, "200402", "E", "E001", "@$LOAN", -50);
    AddPayment(db, "200402", "E", "E003", "$TRN", 1);
    // A row of another period that the fill must not touch.
    db.Insert("RP_HTRX", {"PERIOD", "CYCLE", "EMPCODE", "FIELD_NO1"}, {"200312", "E", "E001", 42});
    RebuildExcelMap(db, "200401", "200402");
    fields = ReadExcelMap(db);
  }

  int Fill(int kind, const QString& from, const QString& to, const QString& cycles) {
    db::Table excelMap(db.connection(), QStringLiteral("EXCELMAP"));
    excelMap.SetIndexFieldNames(QStringLiteral("PAYITEM"));
    excelMap.Open();
    outputs::ReportHistoryRequest request;
    request.reportKind = kind;
    request.periodFrom = from;
    request.periodTo = to;
    request.userId = QStringLiteral("ADMIN");
    request.cycleLetters = cycles;
    request.tablePassword = TDataModule1::GetTablePassword();
    return outputs::FillReportHistory(db.connection(), excelMap, request);
  }

  // The amount of a pay item in an RP_HTRX row, through the item's mapped field.
  QVariant Amount(const QString& period, const QString& cycle, const QString& employee,
                  const QString& payItem) {
    return Value(period, cycle, employee, fields[payItem].fieldName);
  }
  QVariant Value(const QString& period, const QString& cycle, const QString& employee,
                 const QString& column) {
    QSqlQuery query(db.connection().Database());
    query.prepare(
        QStringLiteral("SELECT %1 FROM RP_HTRX WHERE PERIOD=? AND CYCLE=? AND EMPCODE=?").arg(column));
    query.addBindValue(period);
    query.addBindValue(cycle);
    query.addBindValue(employee);
    EXPECT_TRUE(query.exec());
    return query.next() ? query.value(0) : QVariant(QStringLiteral("<no row>"));
  }
  QStringList Keys() {
    QSqlQuery query(db.connection().Database());
    query.exec("SELECT PERIOD||CYCLE||EMPCODE FROM RP_HTRX ORDER BY 1");
    QStringList keys;
    while (query.next()) keys << query.value(0).toString();
    return keys;
  }

  ScratchDatabase db;
  QMap<QString, MapRow> fields;
};

TEST_F(ReportHistoryFillTest, VarianceKindWritesOneRowPerEmployeePeriodAndSelectedRun) {
  EXPECT_EQ(Fill(8, "200401", "200402", "EMBS"), 4);
  EXPECT_EQ(Keys(), (QStringList{"200312EE001", "200401EE001", "200401ME001", "200402EE001", "200402EE002"}));

  const struct {
    const char* period;
    const char* cycle;
    const char* employee;
    const char* payItem;
    double amount;
  } cases[] = {
      {"200401", "E", "E001", "BASIC", 3000},   {"200401", "E", "E001", "CPFEMPER", 510.25},
      {"200401", "E", "E001", "$TRN", 120.05},  {"200401", "M", "E001", "$TRN", 7},
      {"200401", "M", "E001", "BASIC", 1000},   {"200402", "E", "E001", "@$LOAN", -50},
      {"200402", "E", "E001", "$TRN", 0},       {"200402", "E", "E002", "OTAMT", 75.5},
      {"200402", "E", "E002", "GROSS_WAGE", 0},  // a null history amount counts as 0
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 %2 %3 %4").arg(c.period, c.cycle, c.employee, c.payItem).toStdString());
    EXPECT_NEAR(Amount(c.period, c.cycle, c.employee, c.payItem).toDouble(), c.amount, 1e-9);
  }
  EXPECT_EQ(Value("200402", "E", "E001", "DEPARTMENT").toString().trimmed(), "OPS");
  EXPECT_EQ(Value("200312", "E", "E001", "FIELD_NO1").toDouble(), 42);
}

TEST_F(ReportHistoryFillTest, VarianceKindKeepsOnlyTheSelectedRuns) {
  EXPECT_EQ(Fill(8, "200401", "200402", "EEEE"), 3);
  EXPECT_EQ(Keys(), (QStringList{"200312EE001", "200401EE001", "200402EE001", "200402EE002"}));
}

TEST_F(ReportHistoryFillTest, YearToDateKindWritesOneRowPerEmployeeAtTheToPeriod) {
  // The from-period does not matter: the sums run from January of the to-period's year.
  EXPECT_EQ(Fill(9, "200402", "200402", "EMBS"), 2);
  EXPECT_EQ(Keys(), (QStringList{"200312EE001", "200402EE001", "200402EE002"}));
  EXPECT_NEAR(Amount("200402", "E", "E001", "BASIC").toDouble(), 7100, 1e-9);
  EXPECT_NEAR(Amount("200402", "E", "E001", "$TRN").toDouble(), 127.05, 1e-9);
  EXPECT_NEAR(Amount("200402", "E", "E001", "CPFEMPER").toDouble(), 1037.25, 1e-9);
  EXPECT_NEAR(Amount("200402", "E", "E001", "@$LOAN").toDouble(), -50, 1e-9);
  EXPECT_NEAR(Amount("200402", "E", "E002", "OTAMT").toDouble(), 75.5, 1e-9);
  // Header amounts are year-to-date too; codes come from the latest run.
  EXPECT_NEAR(Value("200402", "E", "E001", "BASIC").toDouble(), 7100, 1e-9);
  EXPECT_EQ(Value("200402", "E", "E001", "DEPARTMENT").toString().trimmed(), "OPS");
}

TEST_F(ReportHistoryFillTest, YearToDateKindSumsOnlyTheSelectedRuns) {
  EXPECT_EQ(Fill(9, "200401", "200402", "EEEE"), 2);
  EXPECT_NEAR(Amount("200402", "E", "E001", "BASIC").toDouble(), 6100, 1e-9);
  EXPECT_NEAR(Amount("200402", "E", "E001", "$TRN").toDouble(), 120.05, 1e-9);
}

}  // namespace
}  // namespace tarno::test
