// RunReport over small company databases: the range check, the clearing, the period loop, the
// summary figures and head count, the cost-centre breakdown, and failed runs that keep what was
// written and leave the session usable.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QSqlQuery>

#include "context/DataModule.h"
#include "context/Errors.h"
#include "dialog/ReportSession.h"
#include "entry/CompanyFixture.h"
#include "extraction/ExtractionFixture.h"
#include "extraction/HistoryStatements.h"

using namespace tarno;

namespace {

class ReportSessionRun : public ::testing::Test {
 protected:
  void Open(const QString& folder, const test::CompanyOptions& options = {}) {
    m_path = test::MakeCompanyDatabase(folder, options);
    m_sql.SetConnectPath(m_path);
    m_sql.SetConnected(true);
    m_dm = std::make_unique<TDataModule1>();
    m_dm->AdsConnection1.SetConnectPath(m_path);
    m_dm->AdsConnection1.SetConnected(true);
    SetCondition1("");
    m_dm->Context.values[10] = reinterpret_cast<std::intptr_t>(m_user.constData());  // UserId
    m_dm->Context.values[11] = 2024;                                                 // PayYear
    m_dm->Context.values[12] = 3;                                                    // PayMonth
    m_session = std::make_unique<ReportSession>(*m_dm, m_state);
    m_session->FormShow();
  }
  void TearDown() override {
    m_session.reset();
    m_dm.reset();
  }
  void SetCondition1(const QByteArray& text) {
    m_condition1 = text;
    m_dm->Context.values[5] = reinterpret_cast<std::intptr_t>(m_condition1.constData());
  }
  void Sql(const QString& sql) { test::Sql(m_sql, sql); }
  // An employee of the operator (withService) and one pay run.
  void Employee(const char* code, bool withService = true) {
    Sql(QStringLiteral("INSERT INTO EMPLOYEE (EMP_NO, EMP_NAME) VALUES ('%1', 'Name %1')").arg(code));
    if (withService)
      Sql(QStringLiteral("INSERT INTO EMPSERV (EMP_NO, USERID, NEW_SALARY) VALUES ('%1', 'ANN', 3000)")
              .arg(code));
  }
  void PayRun(const char* code, const char* period, const char* cycle, double basic, double gross,
              double payday) {
    Sql(QStringLiteral(
            "INSERT INTO P_HTRX (EMPCODE, PERIOD, CYCLE, BASIC, GROSS_WAGE, NETT_WAGE, PAYDAY) VALUES "
            "('%1', '%2', '%3', %4, %5, %5, %6)")
            .arg(code, period, cycle)
            .arg(basic)
            .arg(gross)
            .arg(payday));
  }
  QVariant Value(const QString& sql) { return test::SqlValue(m_sql, sql); }
  double Amount(const char* emp, const char* payCode, const char* period, const char* column = "AMOUNT") {
    return Value(QStringLiteral("SELECT %4 FROM RPTRX WHERE EMPCODE='%1' AND PAYCODE='%2' AND PERIOD='%3'")
                     .arg(emp, payCode, period, column))
        .toDouble();
  }
  int Count(const QString& where) { return Value("SELECT COUNT(*) FROM RPTRX WHERE " + where).toInt(); }

  QString m_path;
  db::Connection m_sql;
  QByteArray m_user = "ANN";
  QByteArray m_condition1;
  test::FakeDialogState m_state;
  std::unique_ptr<TDataModule1> m_dm;
  std::unique_ptr<ReportSession> m_session;
};

TEST_F(ReportSessionRun, MidAndEndRunsAddUpAndCountTwoHeads) {
  Open("run-headcount");
  Employee("E001");
  Employee("E002", false);  // no EMPSERV row for the operator
  PayRun("E001", "202403", "M", 1000, 1000, 10);
  PayRun("E001", "202403", "E", 2000.5, 2000.5, 12);
  PayRun("E002", "202403", "E", 900, 900, 20);
  m_state.from = m_state.to = "202403";
  m_session->RunReport("rpt");

  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202403"), 3000.5);
  EXPECT_DOUBLE_EQ(Amount("E001", "HCOUNT", "202403"), 2);
  EXPECT_DOUBLE_EQ(Amount("E001", "PAYDAY", "202403"), 22);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASESAL", "202403"), 6000);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202412", "YTDAMOUNT"), 3000.5);
  EXPECT_EQ(
      Value("SELECT DESCRIPTION || '|' || CYCLE || WAGE_TYPE || TRX_TYPE FROM RPTRX WHERE PAYCODE='HCOUNT' "
            "AND PERIOD='202403'")
          .toString(),
      "9990-HeadCount|EOP");
  EXPECT_EQ(Count("EMPCODE='E002'"), 0);
  EXPECT_EQ(Count("PERIOD<'202403'"), 0);
  EXPECT_EQ(m_session->CurrentPeriod, "202403");
  EXPECT_TRUE(m_state.buttonsEnabled);
  // The statements stay composed on the dialog's queries.
  EXPECT_EQ(m_session->AdsQueryRwHTRX.SQL(), extraction::SummaryStatementLines("", ""));
  EXPECT_EQ(m_session->AdsQueryOTHTRX.SQL(),
            extraction::DetailStatementLines(extraction::DetailKind::Overtime));

  // End Month only and no head count: the period is cleared and written again.
  m_state.cycleIndex = kEndMonth;
  m_state.headCount = false;
  m_session->RunReport("rpt");
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202403"), 2000.5);
  EXPECT_EQ(Count("PAYCODE='HCOUNT' AND PERIOD='202403'"), 0);
  EXPECT_DOUBLE_EQ(Amount("E001", "PAYDAY", "202403"), 12);
  // Later months outside the range are not cleared: they keep their rows and take the new figure.
  EXPECT_DOUBLE_EQ(Amount("E001", "HCOUNT", "202404", "YTDAMOUNT"), 2);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202404", "YTDAMOUNT"), 2000.5);
}

TEST_F(ReportSessionRun, RangeAcrossAYearEndVisitsEveryWholeNumber) {
  Open("run-year-end");
  Employee("E001");
  for (const char* period : {"202411", "202412", "202501", "202502"})
    PayRun("E001", period, "E", 100, 100, 1);
  m_state.from = "202411";
  m_state.to = "202502";
  m_session->RunReport("rpt");
  EXPECT_EQ(m_state.cycleIndexReads, 92);
  EXPECT_EQ(Value("SELECT COUNT(DISTINCT PERIOD) FROM RPTRX WHERE AMOUNT<>0").toInt(), 4);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202412", "YTDAMOUNT"), 200);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202502", "YTDAMOUNT"), 200);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202512", "YTDAMOUNT"), 200);
  EXPECT_EQ(m_session->CurrentPeriod, "202502");
}

TEST_F(ReportSessionRun, InvalidRangeChangesNothing) {
  Open("run-invalid-range");
  Sql("INSERT INTO RPTRX (EMPCODE, PERIOD, CYCLE, PAYCODE, AMOUNT) VALUES ('E001', '202403', 'E', 'BASIC', "
      "5)");
  m_state.from = "202405";
  m_state.to = "202401";
  try {
    m_session->RunReport("rpt");
    FAIL() << "no error";
  } catch (const ValidationError& e) {
    EXPECT_EQ(e.Text(), "Invalid Period Range!");
  }
  EXPECT_EQ(Count("1=1"), 1);
  EXPECT_TRUE(m_state.buttonsEnabled);
}

TEST_F(ReportSessionRun, CostCentreBreakdownSplitsEveryFigure) {
  Open("run-breakdown");
  Employee("E001");
  Employee("E002");
  PayRun("E001", "202403", "E", 1000, 1000, 20);
  PayRun("E002", "202403", "E", 500, 500, 20);  // no COSTCTR rows: nothing written
  Sql("INSERT INTO COSTCTR (EMPCODE, PERIOD, COST_CENTRE, PERCENT, DEPARTMENT) VALUES "
      "('E001', '202403', 'CC2', 40, 'D2'), ('E001', '202403', 'CC1', 60, 'D1')");
  m_state.from = m_state.to = "202403";
  m_state.breakdown = true;
  m_session->RunReport("rpt");
  EXPECT_DOUBLE_EQ(Value("SELECT AMOUNT FROM RPTRX WHERE PAYCODE='HCOUNT' AND PERIOD='202403' AND "
                         "COSTCENTRE_CODE='CC1' AND DEPT_CODE='D1'")
                       .toDouble(),
                   0.6);
  EXPECT_DOUBLE_EQ(Value("SELECT AMOUNT FROM RPTRX WHERE PAYCODE='BASIC' AND PERIOD='202403' AND "
                         "COSTCENTRE_CODE='CC2'")
                       .toDouble(),
                   400);
  EXPECT_EQ(Count("EMPCODE='E002'"), 0);
  EXPECT_EQ(Count("COSTCENTRE_CODE='' OR COSTCENTRE_CODE IS NULL"), 0);
}

TEST_F(ReportSessionRun, DictionaryConnectionRunsWithoutPasswords) {
  test::CompanyOptions options;
  options.fileName = "company.add";
  Open("run-dictionary", options);
  Employee("E001");
  PayRun("E001", "202403", "E", 1000, 1000, 20);
  m_state.from = m_state.to = "202403";
  m_session->RunReport("rpt");
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202403"), 1000);
}

// Failed runs: a clear error, the rows written before it stay, and the next run works.
TEST_F(ReportSessionRun, FailedRunsKeepTheirRowsAndLeaveTheSessionUsable) {
  Open("run-failures");
  Employee("E001");
  Employee("E002");
  PayRun("E001", "202403", "E", 1000, 1000, 20);
  PayRun("E002", "202403", "E", 2000, 2000, 20);
  Sql("INSERT INTO P_DTRXSF (EMPCODE, PERIOD, CYCLE, SHIFT_DESC, SHIFT_STATUS, SHIFT_NO, SHIFTAMT) VALUES "
      "('E002', '202403', 'E', 'NIGHT', 'N', 2, 30)");

  struct Case {
    const char* name;
    const char* from;
    QByteArray condition;
    const char* expectedText;  // part of the error text
    bool firstEmployeeWritten;
  };
  const Case cases[] = {
      {"typed period not a number", "2024 3", "", "'2024 3'", false},
      {"condition makes the statement invalid", "202403", "AND NOSUCHCOLUMN = 1", "NOSUCHCOLUMN", false},
      {"missing shift parameter", "202403", "", "Unable to locate Shift Parameter!", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_state.from = c.from;
    m_state.to = "202403";
    SetCondition1(c.condition);
    try {
      m_session->RunReport("rpt");
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_TRUE(e.Text().contains(QLatin1String(c.expectedText))) << e.Text().toStdString();
    }
    EXPECT_TRUE(m_state.buttonsEnabled);
    EXPECT_EQ(Count("EMPCODE='E001' AND PAYCODE='BASIC' AND PERIOD='202403'"),
              c.firstEmployeeWritten ? 1 : 0);
  }

  // A missing detail table ends the run after the first employee's summary figures.
  Sql("DROP TABLE P_DTRXOT");
  SetCondition1("");
  m_state.from = "202403";
  EXPECT_THROW(m_session->RunReport("rpt"), DatabaseError);
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202403"), 1000);
  EXPECT_EQ(Count("EMPCODE='E002' AND PERIOD='202403'"), 0);
}

TEST_F(ReportSessionRun, AGoodRunAfterAFailedOne) {
  Open("run-after-failure");
  Employee("E001");
  PayRun("E001", "202403", "E", 1000, 1000, 20);
  m_state.from = "x";
  m_state.to = "y";
  EXPECT_THROW(m_session->RunReport("rpt"), ValidationError);
  m_state.from = m_state.to = "202403";
  m_session->RunReport("rpt");
  EXPECT_DOUBLE_EQ(Amount("E001", "BASIC", "202403"), 1000);
}

}  // namespace
