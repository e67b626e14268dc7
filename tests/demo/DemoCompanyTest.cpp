// A small demo company (30 employees) checked the way a payroll auditor would: every payslip adds
// up, the detail lines carry the header totals, CPF stays within its ceilings, the reference rows
// the extraction looks up exist, and the same seed gives the same file.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/Currency.h"
#include "context/Errors.h"
#include "demo/DemoCompany.h"
#include "schema/TableDescriptions.h"

namespace tarno::demo {
namespace {

constexpr int kYear = 2025;

Currency Money(const QVariant& value) {
  return Currency::FromDouble(value.toDouble());
}
Currency Dollars(qint64 dollars, int cents = 0) {
  return Currency::FromUnits(dollars * 10000 + cents * 100);
}

class DemoCompanyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_file = test::ScratchFolder("company") + "/company.db";
    DemoOptions options;
    options.employees = 30;
    options.year = kYear;
    options.seed = 1;
    s_summary = new DemoSummary(CreateDemoCompany(s_file, options));
  }
  static void TearDownTestSuite() {
    delete s_summary;
    s_summary = nullptr;
  }
  void SetUp() override {
    m_connection.SetConnectPath(s_file);
    m_connection.SetConnected(true);
  }

  QSqlQuery Select(const QString& sql) {
    QSqlQuery query(m_connection.Database());
    query.setForwardOnly(true);
    EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
    return query;
  }
  QVariant Single(const QString& sql) {
    QSqlQuery query = Select(sql);
    return query.next() ? query.value(0) : QVariant();
  }
  // Sum of a detail column per run, keyed PERIOD|CYCLE|EMPCODE.
  QHash<QString, Currency> SumsPerRun(const QString& table, const QString& column,
                                      const QString& where = QString()) {
    QHash<QString, Currency> sums;
    QSqlQuery query =
        Select(QStringLiteral("SELECT PERIOD, CYCLE, EMPCODE, %1 FROM %2 %3").arg(column, table, where));
    while (query.next())
      sums[query.value(0).toString() + '|' + query.value(1).toString() + '|' + query.value(2).toString()] +=
          Money(query.value(3));
    return sums;
  }

  static QString s_file;
  static DemoSummary* s_summary;
  db::Connection m_connection;
};

QString DemoCompanyTest::s_file;
DemoSummary* DemoCompanyTest::s_summary = nullptr;

TEST_F(DemoCompanyTest, EveryTableExistsAndTheEncryptedOnesAreMarked) {
  const QStringList empty = {"RPTRX", "RP_HTRX", "P_HIST1", "RBFIELD"};
  for (const schema::TableDescription& table : schema::AllTables()) {
    SCOPED_TRACE(table.name.toStdString());
    ASSERT_TRUE(m_connection.HasTable(table.name));
    EXPECT_EQ(m_connection.IsEncryptedTable(table.name), table.encrypted);
    const qint64 rows = Single(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table.name)).toLongLong();
    if (empty.contains(table.name))
      EXPECT_EQ(rows, 0);
    else
      EXPECT_GT(rows, 0);
    EXPECT_EQ(s_summary->rows.value(table.name), rows);
  }
  EXPECT_NO_THROW(m_connection.CheckTablePassword("P_HTRX", kDemoTablePassword));
}

TEST_F(DemoCompanyTest, EveryPayslipAddsUp) {
  const auto allowances =
      SumsPerRun("P_DTRXAW", "AMOUNT", "WHERE AMOUNT > 0 AND ALLW_DED_CODE <> 'VOLEMPER'");
  const auto deductions = SumsPerRun("P_DTRXAW", "-AMOUNT", "WHERE AMOUNT < 0");
  const auto voluntary = SumsPerRun("P_DTRXAW", "AMOUNT", "WHERE ALLW_DED_CODE = 'VOLEMPER'");
  const auto overtime = SumsPerRun("P_DTRXOT", "OTAMT");
  const auto shifts = SumsPerRun("P_DTRXSF", "SHIFTAMT");
  const auto restDays = SumsPerRun("P_DTRXRD", "AMOUNT");
  const auto nplDays = SumsPerRun("P_DTRXND", "AMOUNT");
  const auto nplHours = SumsPerRun("P_DTRXNH", "AMOUNT");
  const auto absences = SumsPerRun("P_DTRXAS", "AMOUNT");

  QSqlQuery run = Select(
      "SELECT PERIOD, CYCLE, EMPCODE, BASIC, TOTAL_ALLOWANCE, OTAMT, SHIFTAMT, RESTAMT, TOTAL_NPL, NPL_AMT, "
      "ABSENT_AMT, GROSS_WAGE, CPFEMPEE, VOLCPFEE, TOTAL_DEDUCTION, NETT_WAGE, BANKAMT, CHEQAMT, CASHAMT, "
      "VOLCPFER, "
      "TOTAL_CPF, CPFEMPER FROM P_HTRX");
  int runs = 0;
  while (run.next()) {
    ++runs;
    const QString key =
        run.value(0).toString() + '|' + run.value(1).toString() + '|' + run.value(2).toString();
    SCOPED_TRACE(key.toStdString());
    const auto v = [&](int i) { return Money(run.value(i)); };
    const Currency basic = v(3), allowance = v(4), ot = v(5), shift = v(6), rest = v(7), totalNpl = v(8);
    const Currency gross = v(11), nett = v(15);
    EXPECT_EQ(gross, basic + allowance + ot + shift + rest - totalNpl);
    EXPECT_EQ(nett, gross - v(12) - v(13) - v(14));
    EXPECT_EQ(v(16) + v(17) + v(18), nett);
    EXPECT_GT(nett, Currency());
    EXPECT_EQ(v(20), v(12) + v(21));
    // The detail lines carry the header totals.
    EXPECT_EQ(allowance, allowances.value(key));
    EXPECT_EQ(v(14), deductions.value(key));
    EXPECT_EQ(v(19), voluntary.value(key));
    EXPECT_EQ(ot, overtime.value(key));
    EXPECT_EQ(shift, shifts.value(key));
    EXPECT_EQ(rest, restDays.value(key));
    EXPECT_EQ(v(9), nplDays.value(key) + nplHours.value(key));
    EXPECT_EQ(v(10), absences.value(key));
    EXPECT_EQ(totalNpl, v(9) + v(10));
  }
  EXPECT_GT(runs, 30 * 13);
}

TEST_F(DemoCompanyTest, CpfLeviesAndFundsStayWithinTheirRules) {
  QSqlQuery run = Select(
      "SELECT H.PERIOD, H.CYCLE, H.CPF_WAGE, H.CPFEMPEE, H.CPFEMPER, H.SDF, H.FWL, E.RESIDENT_STATUS, "
      "E.CATEGORY_CODE FROM P_HTRX H JOIN EMPLOYEE E ON E.EMP_NO = H.EMPCODE");
  while (run.next()) {
    const QString period = run.value(0).toString();
    const QString cycle = run.value(1).toString();
    SCOPED_TRACE((period + cycle).toStdString());
    const Currency wage = Money(run.value(2)), employee = Money(run.value(3)), employer = Money(run.value(4));
    if (run.value(7).toString() == "F") {
      EXPECT_TRUE(employee.IsZero() && employer.IsZero()) << "foreigners pay no CPF";
    }
    // Employee share at most 20%, both shares at most 37% (plus the dollar rounding).
    EXPECT_LE(employee.Units(), wage.Units() / 5);
    EXPECT_LE((employee + employer).Units(), wage.Units() * 37 / 100 + 5000);
    if (cycle == "E") {
      EXPECT_LE(wage, period.startsWith("2024") ? Dollars(6800) : Dollars(7400));
      EXPECT_GE(Money(run.value(5)), Dollars(2));
      EXPECT_LE(Money(run.value(5)), Dollars(11, 25));
    } else {
      EXPECT_TRUE(Money(run.value(5)).IsZero());
    }
    if (run.value(8).toString() != "WP") {
      EXPECT_TRUE(Money(run.value(6)).IsZero());
    }
  }
  // Ordinary plus additional wages of the payroll year within the annual ceiling.
  QSqlQuery year = Select(QStringLiteral("SELECT EMPCODE, SUM(CPFOWWAGE) + SUM(CPFAWWAGE) FROM YTDEMPL "
                                         "WHERE PERIOD LIKE '%1%%' GROUP BY EMPCODE")
                              .arg(kYear));
  while (year.next())
    EXPECT_LE(Money(year.value(1)), Dollars(102000)) << year.value(0).toString().toStdString();
  EXPECT_GT(Single("SELECT COUNT(*) FROM P_HTRX WHERE FWL > 0").toInt(), 0);
  // Fund deductions only from residents of the fund's community.
  QSqlQuery funds = Select(
      "SELECT A.ALLW_DED_CODE, E.RACE, E.RESIDENT_STATUS FROM P_DTRXAW A JOIN EMPLOYEE E ON E.EMP_NO = "
      "A.EMPCODE "
      "WHERE A.ALLW_DED_CODE IN ('CDAC', 'EUCF', 'MOSQ', 'SINDA')");
  const QHash<QString, QString> raceOf = {
      {"CDAC", "CHINESE"}, {"MOSQ", "MALAY"}, {"SINDA", "INDIAN"}, {"EUCF", "EURASIAN"}};
  int fundLines = 0;
  while (funds.next()) {
    ++fundLines;
    EXPECT_EQ(funds.value(1).toString(), raceOf.value(funds.value(0).toString()));
    EXPECT_NE(funds.value(2).toString(), "F");
  }
  EXPECT_GT(fundLines, 0);
}

TEST_F(DemoCompanyTest, RunsCoverTheYearAndEveryKindOfDetail) {
  QStringList periods;
  QSqlQuery p = Select("SELECT DISTINCT PERIOD FROM P_HTRX ORDER BY PERIOD");
  while (p.next()) periods.append(p.value(0).toString());
  ASSERT_EQ(periods.size(), 13);
  EXPECT_EQ(periods.first(), "202412");
  EXPECT_EQ(periods.last(), "202512");
  for (const char* cycle : {"M", "E", "B", "S"})
    EXPECT_GT(Single(QStringLiteral("SELECT COUNT(*) FROM P_HTRX WHERE CYCLE = '%1'").arg(cycle)).toInt(), 0)
        << cycle;
  // Every employee has an end-month run in each month employed.
  EXPECT_EQ(
      Single(
          "SELECT COUNT(*) FROM EMPLOYEE WHERE EMP_NO NOT IN (SELECT EMPCODE FROM P_HTRX WHERE CYCLE = 'E')")
          .toInt(),
      0);

  QSet<QString> restTypes;
  QSqlQuery r = Select("SELECT DISTINCT RESTDAY_TYPE FROM P_DTRXRD");
  while (r.next()) restTypes.insert(r.value(0).toString());
  EXPECT_EQ(restTypes,
            (QSet<QString>{"0.5D Day", "1.0D Day", "2.0D Day", "0.5LDay#", "1.0LDay#", "2.0LDay#"}));

  QSet<QString> factors;
  QSqlQuery o = Select("SELECT OT_DESC, OTFACTOR, OTRATE, OTHRS, OTAMT FROM P_DTRXOT");
  while (o.next()) {
    factors.insert(o.value(0).toString());
    const qint64 expected =
        (Money(o.value(2)).Units() / 100) * (Money(o.value(3)).Units() / 100);  // cents x hundredths
    EXPECT_NEAR(Money(o.value(4)).Units() / 100.0, expected / 100.0, 0.5);
  }
  EXPECT_EQ(factors, (QSet<QString>{"OT1.5", "OT2.0"}));
  for (const char* table : {"P_DTRXND", "P_DTRXNH", "P_DTRXAS", "P_DTRXSF"})
    EXPECT_GT(Single(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(), 0) << table;
  for (const char* code : {"$AWS", "@$ADVREC", "VOLEMPER", "CDAC"})
    EXPECT_GT(
        Single(QStringLiteral("SELECT COUNT(*) FROM P_DTRXAW WHERE ALLW_DED_CODE = '%1'").arg(code)).toInt(),
        0)
        << code;
}

TEST_F(DemoCompanyTest, LookupRowsExistForEveryDetail) {
  // Allowance codes by the year of their period, shift statuses likewise.
  EXPECT_EQ(Single("SELECT COUNT(*) FROM P_DTRXAW A WHERE NOT EXISTS (SELECT 1 FROM ALLOWNCE L WHERE "
                   "L.ALLOW_CODE = A.ALLW_DED_CODE AND L.\"YEAR\" = CAST(SUBSTR(A.PERIOD, 1, 4) AS INTEGER))")
                .toInt(),
            0);
  EXPECT_EQ(
      Single("SELECT COUNT(*) FROM P_DTRXSF S WHERE NOT EXISTS (SELECT 1 FROM PPARA_SF P WHERE "
             "P.SHIFT_STATUS = S.SHIFT_STATUS AND P.\"YEAR\" = CAST(SUBSTR(S.PERIOD, 1, 4) AS INTEGER))")
          .toInt(),
      0);
  EXPECT_EQ(Single("SELECT COUNT(DISTINCT \"YEAR\") FROM ALLOWNCE").toInt(), 2);
  EXPECT_EQ(
      Single("SELECT COUNT(*) FROM ALLOWNCE WHERE IS_FUND NOT IN ('Y', 'N', '') AND IS_FUND IS NOT NULL")
          .toInt(),
      0);
  EXPECT_GT(Single("SELECT COUNT(*) FROM ALLOWNCE WHERE ALLOW_CODE LIKE '@$%'").toInt(), 0);

  // CODE: all eight categories, yet one cost centre and one division in use have no row.
  EXPECT_EQ(Single("SELECT COUNT(DISTINCT CATEGORY) FROM CODE").toInt(), 8);
  for (const auto& [column, category] :
       {std::pair{"COST_CENTRE_CODE", "CST"}, std::pair{"DIVISION_CODE", "DIV"}})
    EXPECT_GT(
        Single(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEE E WHERE NOT EXISTS (SELECT 1 FROM CODE C WHERE "
                              "C.CATEGORY = '%2' AND C.CODE = E.%1)")
                   .arg(column, category))
            .toInt(),
        0)
        << column;

  // Cost-centre splits: about one in seven, each period's shares adding up to 100%.
  QSqlQuery split =
      Select("SELECT EMPCODE, PERIOD, SUM(PERCENT), COUNT(*) FROM COSTCTR GROUP BY EMPCODE, PERIOD");
  while (split.next()) {
    EXPECT_NEAR(split.value(2).toDouble(), 100.0, 1e-9);
    EXPECT_GE(split.value(3).toInt(), 2);
  }
  EXPECT_EQ(Single("SELECT COUNT(*) FROM COSTCTR WHERE DEPARTMENT IS NULL OR DEPARTMENT = ''").toInt(), 0);
  EXPECT_GE(s_summary->costCentreSplits, 1);

  EXPECT_EQ(Single("SELECT COUNT(*) FROM EXCELMAP WHERE RESV IS NOT NULL").toInt(), 2);
  EXPECT_EQ(Single("SELECT COUNT(*) FROM EXCELMAP WHERE FIELDNAME = 'PERCENT'").toInt(), 1);
  EXPECT_EQ(Single("SELECT COUNT(*) FROM EXCELMAP WHERE LINE IS NOT NULL AND LINE <> ''").toInt(), 1);
  EXPECT_EQ(Single("SELECT COUNT(*) FROM CUSTOM WHERE PARAMETER = 'OTCOMP'").toInt(), 0);
  QSqlQuery para =
      Select(QStringLiteral("SELECT COMPANY, G_DATEFORMAT FROM PAYPARA1 WHERE \"YEAR\" = '%1'").arg(kYear));
  ASSERT_TRUE(para.next());
  EXPECT_EQ(para.value(0).toString(), "Lion City Precision Engineering Pte Ltd");
  EXPECT_EQ(para.value(1).toString(), "DD/MM/YYYY");
}

TEST_F(DemoCompanyTest, HostUsersSeeTheirEmployees) {
  EXPECT_EQ(s_summary->users, (QStringList{"ADMIN", "HRCLERK"}));
  EXPECT_EQ(Single("SELECT COUNT(*) FROM EMPSERV WHERE USERID = 'ADMIN'").toInt(), 30);
  const int clerk = Single("SELECT COUNT(*) FROM EMPSERV WHERE USERID = 'HRCLERK'").toInt();
  EXPECT_GT(clerk, 0);
  EXPECT_LT(clerk, 30);
  EXPECT_EQ(Single("SELECT COUNT(*) FROM EMPSERV S JOIN EMPLOYEE E ON E.EMP_NO = S.EMP_NO WHERE S.USERID = "
                   "'HRCLERK' AND E.JOB_GRADE_CODE IN ('G5', 'G6')")
                .toInt(),
            0);
  EXPECT_EQ(Single("SELECT COUNT(*) FROM EMPSERV WHERE NEW_SALARY <= 0 OR DEPARTMENT IS NULL").toInt(), 0);
}

TEST_F(DemoCompanyTest, SummaryDescribesTheCompany) {
  EXPECT_EQ(s_summary->employees, 30);
  EXPECT_EQ(s_summary->year, kYear);
  EXPECT_GT(s_summary->gross, s_summary->nett);
  const QString text = DescribeDemo(*s_summary);
  for (const char* part :
       {"Lion City Precision Engineering Pte Ltd", "ADMIN, HRCLERK", "202412", "202512", "Employees: 30"})
    EXPECT_TRUE(text.contains(part)) << part << "\n" << text.toStdString();
}

// Every row of every table, in insertion order, as text.
QStringList Dump(const QString& file) {
  db::Connection connection;
  connection.SetConnectPath(file);
  connection.SetConnected(true);
  QStringList lines;
  for (const schema::TableDescription& table : schema::AllTables()) {
    QSqlQuery query(connection.Database());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table.name)));
    while (query.next()) {
      QStringList values;
      for (int i = 0; i < query.record().count(); ++i) values.append(query.value(i).toString());
      lines.append(table.name + ':' + values.join('|'));
    }
  }
  return lines;
}

TEST(DemoCompanyCreation, SameSeedSameCompanyOtherSeedOther) {
  const QString folder = test::ScratchFolder("determinism");
  DemoOptions options;
  options.employees = 12;
  CreateDemoCompany(folder + "/a.db", options);
  CreateDemoCompany(folder + "/b.db", options);
  options.seed = 2;
  CreateDemoCompany(folder + "/c.db", options);
  const QStringList a = Dump(folder + "/a.db");
  EXPECT_EQ(a, Dump(folder + "/b.db"));
  EXPECT_NE(a, Dump(folder + "/c.db"));
}

TEST(DemoCompanyCreation, RefusesAnExistingFileAndBadOptions) {
  const QString folder = test::ScratchFolder("refusal");
  const QString existing = folder + "/existing.db";
  {
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
  }
  EXPECT_THROW(CreateDemoCompany(existing, DemoOptions()), Error);
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("keep me"));

  struct Bad {
    int employees, year;
  };
  for (const Bad& bad : {Bad{0, 2025}, Bad{-5, 2025}, Bad{10, 1999}, Bad{10, 2100}}) {
    DemoOptions options;
    options.employees = bad.employees;
    options.year = bad.year;
    const QString target = folder + "/bad.db";
    EXPECT_THROW(CreateDemoCompany(target, options), Error) << bad.employees << " " << bad.year;
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(target + ".partial"));
  }
  EXPECT_THROW(CreateDemoCompany(folder + "/no/such/folder/x.db", DemoOptions()), Error);
}

TEST(DemoCompanyCreation, EnsureCreatesOnceThenSummarizes) {
  const QString folder = test::ScratchFolder("ensure") + "/demo";
  bool created = false;
  const DemoSummary first = EnsureDemoCompany(folder, &created);
  EXPECT_TRUE(created);
  EXPECT_EQ(first.employees, DemoOptions().employees);
  const DemoSummary second = EnsureDemoCompany(folder, &created);
  EXPECT_FALSE(created);
  EXPECT_EQ(second.gross, first.gross);
  EXPECT_EQ(second.rows, first.rows);
}

}  // namespace
}  // namespace tarno::demo
