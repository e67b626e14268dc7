// The row writer: keys, year-to-date and later months, the cost-centre split, and the write-back
// of the working set to RPTRX.
#include <gtest/gtest.h>

#include "context/Errors.h"
#include "context/Query.h"
#include "context/Table.h"
#include "extraction/ExtractionFixture.h"
#include "extraction/ReportRowWriter.h"

using namespace tarno;
using namespace tarno::extraction;

namespace {

Currency C(const char* text) {
  return Currency::FromString(QString::fromLatin1(text));
}

ReportAmount Contribution(const QString& period, double amount,
                          const QString& payCode = QStringLiteral("BASIC"),
                          const QString& description = QStringLiteral("1000-BASIC"), double rate = 0) {
  ReportAmount c;
  c.empCode = QStringLiteral("E001");
  c.period = period;
  c.payCode = payCode;
  c.description = description;
  c.wageType = QStringLiteral("O");
  c.trxType = QStringLiteral("P");
  c.rate = rate;
  c.amount = amount;
  return c;
}

// The rows of the writer as "PERIOD CC/DEPT AMOUNT YTD" lines, for compact expectations.
QStringList Lines(const ReportRowWriter& writer) {
  QStringList lines;
  for (const ReportRowValues& r : writer.Rows())
    lines << QStringLiteral("%1 %2 %3/%4 %5 %6")
                 .arg(r.payCode, r.period, r.costCentre, r.department, r.amount.ToString(),
                      r.ytdAmount.ToString());
  return lines;
}

struct WriterTest : ::testing::Test {
  bool breakdown = false;
  ReportRowWriter writer{[this] { return breakdown; }};
};

TEST_F(WriterTest, JanuaryAppendsElevenLaterMonthsWithItsYearToDate) {
  writer.AddReportAmount(Contribution("202401", 1500.25, "BASIC", "1000-BASIC", 12.5));
  const auto rows = writer.Rows();
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[0].period, "202401");
  EXPECT_EQ(rows[0].amount, C("1500.25"));
  EXPECT_EQ(rows[0].rate, C("12.5"));
  EXPECT_TRUE(rows[0].hasRate);
  for (std::size_t i = 1; i < 12; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].period, QStringLiteral("2024%1").arg(i + 1, 2, 10, QChar(u'0')));
    EXPECT_TRUE(rows[i].amount.IsZero());
    EXPECT_EQ(rows[i].ytdAmount, C("1500.25"));
    EXPECT_FALSE(rows[i].hasRate);
    EXPECT_EQ(rows[i].description, "1000-BASIC");
    EXPECT_TRUE(rows[i].costCentre.isEmpty());
  }
}

TEST_F(WriterTest, DecemberWritesOnlyItsOwnRowAndZeroWritesNothing) {
  writer.AddReportAmount(Contribution("202412", 10));
  writer.AddReportAmount(Contribution("202401", 0));
  writer.AddReportAmount(Contribution("202401", 0.00004));  // rounds to 0.0000 in the currency column
  EXPECT_EQ(Lines(writer), QStringList{"BASIC 202412 / 10.0000 10.0000"});
}

TEST_F(WriterTest, TwoPayRunsOfOnePeriodAddUpAndKeepTheFirstDescription) {
  writer.AddReportAmount(Contribution("202412", 100.10, "BASIC", "first", 1));
  ReportAmount second = Contribution("202412", 200.20, "BASIC", "second", 2);
  second.wageType = "X";
  writer.AddReportAmount(second);
  const auto rows = writer.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].amount, C("300.3"));
  EXPECT_EQ(rows[0].ytdAmount, C("300.3"));  // both runs count in the year-to-date
  EXPECT_EQ(rows[0].rate, C("2"));
  EXPECT_EQ(rows[0].description, "first");
  EXPECT_EQ(rows[0].wageType, "O");
}

TEST_F(WriterTest, MarchAfterJanuaryLeavesFebruaryAndCarriesTheNewTotal) {
  writer.AddReportAmount(Contribution("202401", 100));
  writer.AddReportAmount(Contribution("202403", 50.5));
  const QStringList lines = Lines(writer);
  ASSERT_EQ(lines.size(), 12);
  EXPECT_EQ(lines[0], "BASIC 202401 / 100.0000 100.0000");
  EXPECT_EQ(lines[1], "BASIC 202402 / 0.0000 100.0000");
  EXPECT_EQ(lines[2], "BASIC 202403 / 50.5000 150.5000");
  EXPECT_EQ(lines[11], "BASIC 202412 / 0.0000 150.5000");
}

TEST_F(WriterTest, YearToDateNeverCrossesIntoTheNextYear) {
  writer.AddReportAmount(Contribution("202412", 100));
  writer.AddReportAmount(Contribution("202501", 7));
  const QStringList lines = Lines(writer);
  EXPECT_EQ(lines[1], "BASIC 202501 / 7.0000 7.0000");
}

TEST_F(WriterTest, PeriodWithoutMonthDigitsFailsAfterItsOwnRow) {
  try {
    writer.AddReportAmount(Contribution("2024", 5));
    FAIL() << "no error";
  } catch (const DatabaseError& e) {
    EXPECT_TRUE(e.Text().contains("'2024'")) << e.Text().toStdString();
  }
  EXPECT_EQ(Lines(writer), QStringList{"BASIC 2024 / 5.0000 5.0000"});
}

struct SplitCase {
  const char* name;
  double amount;
  std::vector<double> percents;
  std::vector<const char*> shares;  // nullptr: no row for that cost centre
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, SharesAddUpWithTheRemainderOnTheLastCostCentre) {
  const SplitCase& c = GetParam();
  ReportRowWriter writer([] { return true; });
  std::vector<CostCentreShare> records;
  for (std::size_t i = 0; i < c.percents.size(); ++i)
    records.push_back({QStringLiteral("CC%1").arg(i + 1), QStringLiteral("D%1").arg(i + 1),
                       Currency::FromDouble(c.percents[i])});
  writer.SetCostCentres(records);
  writer.AddReportAmount(Contribution("202412", c.amount));
  QStringList expected;
  for (std::size_t i = 0; i < c.shares.size(); ++i)
    if (c.shares[i] != nullptr)
      expected << QStringLiteral("BASIC 202412 CC%1/D%1 %2 %2").arg(i + 1).arg(C(c.shares[i]).ToString());
  EXPECT_EQ(Lines(writer), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(SplitCase{"HalfOfOddCents", 100.01, {50, 50}, {"50.01", "50.00"}},
                      SplitCase{"Thirds", 100, {33.33, 33.33, 33.34}, {"33.33", "33.33", "33.34"}},
                      SplitCase{"PercentsBelowHundred", 100, {50, 30}, {"50", "50"}},
                      SplitCase{"PercentsAboveHundred", 100, {60, 60, 10}, {"60", "60", "-20"}},
                      SplitCase{"ZeroPercentRecord", 100, {0, 100}, {nullptr, "100"}},
                      SplitCase{"HeadCountSplit", 1, {60, 40}, {"0.6", "0.4"}},
                      SplitCase{"NoCostCentre", 100, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriterTest, SplitYearToDatePassesOverOtherCostCentres) {
  breakdown = true;
  writer.SetCostCentres({{"A", "D1", C("50")}, {"B", "D1", C("50")}});
  writer.AddReportAmount(Contribution("202401", 100));  // 50 each
  writer.SetCostCentres({{"A", "D1", C("20")}, {"B", "D1", C("80")}});
  writer.AddReportAmount(Contribution("202403", 10));  // 2 and 8
  const auto rows = writer.Rows();
  auto find = [&](const char* period, const char* cc) -> const ReportRowValues* {
    for (const auto& r : rows)
      if (r.period == period && r.costCentre == cc) return &r;
    return nullptr;
  };
  ASSERT_NE(find("202403", "A"), nullptr);
  EXPECT_EQ(find("202403", "A")->ytdAmount, C("52"));
  EXPECT_EQ(find("202403", "B")->ytdAmount, C("58"));
  EXPECT_EQ(find("202412", "B")->ytdAmount, C("58"));
  EXPECT_EQ(find("202402", "A")->ytdAmount, C("50"));
  EXPECT_EQ(rows.size(), 24u);
}

TEST_F(WriterTest, BreakdownIsAskedAtEveryContribution) {
  writer.SetCostCentres({{"A", "D1", C("100")}});
  writer.AddReportAmount(Contribution("202412", 1));
  breakdown = true;
  writer.AddReportAmount(Contribution("202412", 2));
  EXPECT_EQ(Lines(writer), (QStringList{"BASIC 202412 / 1.0000 1.0000", "BASIC 202412 A/D1 2.0000 2.0000"}));
}

// Write-back: the rows land in RPTRX as held; rows of an earlier run keep AMOUNT and RATE and take
// the new year-to-date.
class WriterFlushTest : public test::CompanyDatabaseTest {};

TEST_F(WriterFlushTest, RowsOfAnEarlierRunAreUpdatedAndNewRowsInserted) {
  test::Sql(m_connection,
            "INSERT INTO RPTRX (EMPCODE, PERIOD, CYCLE, PAYCODE, AMOUNT, RATE, YTDAMOUNT, DESCRIPTION, "
            "COSTCENTRE_CODE, DEPT_CODE) VALUES ('E001', '202405', 'E', 'BASIC', 70, 3, 70, 'old', '', '')");
  db::Table rptrx(m_connection, "RPTRX");
  rptrx.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  rptrx.Open();
  rptrx.EnableEncryption(test::kTablePassword);
  ReportRowWriter writer([] { return false; });
  writer.Load(rptrx, "2024", "2025");
  rptrx.Close();
  writer.AddReportAmount(Contribution("202403", 30, "BASIC", "1000-BASIC", 9));
  EXPECT_EQ(writer.Flush(m_connection, test::kTablePassword, 4), 10);
  EXPECT_EQ(writer.DirtyRowCount(), 0);
  EXPECT_EQ(test::SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 10);
  EXPECT_DOUBLE_EQ(test::SqlValue(m_connection, "SELECT AMOUNT FROM RPTRX WHERE PERIOD='202405'").toDouble(),
                   70);
  EXPECT_DOUBLE_EQ(test::SqlValue(m_connection, "SELECT RATE FROM RPTRX WHERE PERIOD='202405'").toDouble(),
                   3);
  EXPECT_DOUBLE_EQ(
      test::SqlValue(m_connection, "SELECT YTDAMOUNT FROM RPTRX WHERE PERIOD='202405'").toDouble(), 30);
  EXPECT_EQ(test::SqlValue(m_connection, "SELECT DESCRIPTION FROM RPTRX WHERE PERIOD='202405'").toString(),
            "old");
  EXPECT_EQ(
      test::SqlValue(m_connection, "SELECT CYCLE || DESCRIPTION || RATE FROM RPTRX WHERE PERIOD='202403'")
          .toString(),
      "E1000-BASIC9");
  EXPECT_TRUE(test::SqlValue(m_connection, "SELECT RATE FROM RPTRX WHERE PERIOD='202404'").isNull());

  // A second contribution after the write-back updates the rows now stored.
  writer.AddReportAmount(Contribution("202403", 1));
  EXPECT_EQ(writer.Flush(m_connection, test::kTablePassword), 10);
  EXPECT_EQ(test::SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 10);
  EXPECT_DOUBLE_EQ(
      test::SqlValue(m_connection, "SELECT YTDAMOUNT FROM RPTRX WHERE PERIOD='202412'").toDouble(), 31);
}

}  // namespace
