// The cycle selection table and the statement texts of the period extraction.
#include <gtest/gtest.h>

#include "context/Errors.h"
#include "extraction/CycleSelection.h"
#include "extraction/HistoryStatements.h"

using namespace tarno;
using namespace tarno::extraction;

TEST(CycleSelection, EveryItemAndBoxCombination) {
  struct Case {
    int item;
    bool special, bonus;
    const char* letters;
  };
  const Case cases[] = {
      {0, false, false, "MMMM"}, {0, true, false, "MSSS"}, {0, false, true, "MBBB"}, {0, true, true, "MBSS"},
      {1, false, false, "EEEE"}, {1, true, false, "ESSS"}, {1, false, true, "EBBB"}, {1, true, true, "EBSS"},
      {2, false, false, "SSSS"}, {2, true, false, "SSSS"}, {2, false, true, "SSSS"}, {2, true, true, "SSSS"},
      {3, false, false, "BBBB"}, {3, true, false, "BBBB"}, {3, false, true, "BBBB"}, {3, true, true, "BBBB"},
      {4, false, false, "EMBS"}, {4, true, false, "EMBS"}, {4, false, true, "EMBS"}, {4, true, true, "EMBS"},
      {5, false, false, "EMEM"}, {5, true, false, "EMSM"}, {5, false, true, "EMEB"}, {5, true, true, "EMSB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.item << " special " << c.special << " bonus " << c.bonus);
    EXPECT_EQ(BuildCycleSelection(c.item, c.special, c.bonus), QLatin1String(c.letters));
  }
  EXPECT_THROW(BuildCycleSelection(6, false, false), Error);
}

TEST(HistoryStatements, SummaryStatementLineByLineWithTheHostConditions) {
  const QStringList lines = SummaryStatementLines("AND P_HTRX.EMPCODE<>'X'", "");
  ASSERT_EQ(lines.size(), 14);
  EXPECT_EQ(lines[0],
            "SELECT P_HTRX.EMPCODE,P_HTRX.PERIOD,CYCLE,SUM(P_HTRX.BASIC) AS BASIC,SUM(P_HTRX.GROSS_WAGE) AS "
            "GROSS_WAGE,EMPSERV.NEW_SALARY AS NEW_SALARY,FCURR_CODE");
  EXPECT_EQ(lines[1],
            ",SUM(P_HTRX.CPFEMPEE) AS CPFEMPEE,SUM(P_HTRX.CPFEMPER) AS CPFEMPER,SUM(P_HTRX.PAYDAY) AS PAYDAY,"
            "SUM(P_HTRX.VOLCPFEE) AS VOLCPFEE,SUM(P_HTRX.VOLCPFER) AS VOLCPFER ");
  EXPECT_EQ(lines[2],
            ",SUM(P_HTRX.NETT_WAGE) AS NETT_WAGE,SUM(P_HTRX.SDF) AS SDF,SUM(P_HTRX.FWL) AS "
            "FWL,SUM(P_HTRX.CPF_WAGE) "
            "AS CPF_WAGE ");
  EXPECT_EQ(lines[3],
            ",SUM(P_HTRX.BANKAMT) AS BANKAMT,SUM(P_HTRX.CASHAMT) AS CASHAMT,SUM(P_HTRX.CHEQAMT) AS CHEQAMT "
            ",SUM(P_HTRX.BASICNVC) AS BASICNVC,SUM(P_HTRX.NVC) AS NVC ");
  EXPECT_EQ(lines[4], "from P_HTRX,EMPLOYEE,EMPSERV where P_HTRX.PERIOD=:PERIOD  ");
  EXPECT_EQ(
      lines[5],
      "AND EMPLOYEE.EMP_NO=P_HTRX.EMPCODE AND EMPLOYEE.EMP_NO=EMPSERV.EMP_NO AND EMPSERV.USERID=:USERID ");
  EXPECT_EQ(lines[6], "AND (CYCLE = :CYCLE1");
  EXPECT_EQ(lines[7], "OR   CYCLE = :CYCLE2");
  EXPECT_EQ(lines[8], "OR   CYCLE = :CYCLE3");
  EXPECT_EQ(lines[9], "OR   CYCLE = :CYCLE4  )");
  EXPECT_EQ(lines[10], "AND P_HTRX.EMPCODE<>'X'");
  EXPECT_EQ(lines[11], "");
  EXPECT_EQ(lines[12], "GROUP BY P_HTRX.EMPCODE,P_HTRX.PERIOD,CYCLE,EMPSERV.NEW_SALARY,FCURR_CODE");
  EXPECT_EQ(lines[13], "ORDER BY P_HTRX.EMPCODE,P_HTRX.PERIOD");
}

TEST(HistoryStatements, DetailStatementsPerEmployeeAndPeriodWide) {
  EXPECT_EQ(DetailStatementLines(DetailKind::NoPayDays),
            (QStringList{
                "select PERIOD,EMPCODE,CYCLE,NPL_DAY_TYPE,SUM(FREQUENCY) AS FREQUENCY,SUM(AMOUNT) AS AMOUNT "
                "from p_dtrxND ",
                "where period=:PERIOD AND EMPCODE=:EMPCODE", "AND (CYCLE = :CYCLE)",
                "GROUP BY EMPCODE,PERIOD,CYCLE,NPL_DAY_TYPE", "ORDER BY EMPCODE,PERIOD,NPL_DAY_TYPE"}));
  EXPECT_EQ(DetailStatementLines(DetailKind::Allowances),
            (QStringList{"select PERIOD,EMPCODE,CYCLE,ALLW_DED_CODE,AMOUNT from p_dtrxaw ",
                         "where period=:PERIOD AND EMPCODE=:EMPCODE  and CYCLE = :CYCLE",
                         "ORDER BY EMPCODE,PERIOD,ALLW_DED_CODE"}));
  EXPECT_EQ(DetailStatementLines(DetailKind::Overtime).at(3),
            "GROUP BY OTTYPE,EMPCODE,PERIOD,CYCLE,OTFACTOR,OT_DESC,OTRATE");
  // The period-wide variants keep the grouping and order each employee's run as above.
  EXPECT_EQ(
      PeriodDetailStatementLines(DetailKind::Overtime).mid(1),
      (QStringList{"where period=:PERIOD", "GROUP BY OTTYPE,EMPCODE,PERIOD,CYCLE,OTFACTOR,OT_DESC,OTRATE",
                   "ORDER BY EMPCODE,CYCLE,OTFACTOR"}));
  EXPECT_EQ(PeriodDetailStatementLines(DetailKind::CpfWage).last(), "ORDER BY EMPCODE,CYCLE");
  EXPECT_EQ(PeriodDetailStatementLines(DetailKind::Allowances).mid(1),
            (QStringList{"where period=:PERIOD", "ORDER BY EMPCODE,CYCLE,ALLW_DED_CODE"}));
}
