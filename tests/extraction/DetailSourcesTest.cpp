// The detail sources: pay codes, descriptions and types of each source, over hand-made detail
// rows and small ALLOWNCE and PPARA_SF tables.
#include <gtest/gtest.h>

#include "context/Errors.h"
#include "context/Table.h"
#include "extraction/DetailSources.h"
#include "extraction/ExtractionFixture.h"

using namespace tarno;
using namespace tarno::extraction;

namespace {

DetailRows MakeRows(const QStringList& fields, const std::vector<QVariantList>& rows) {
  DetailRows result(QStringList{"PERIOD", "EMPCODE", "CYCLE"} + fields, "a test statement");
  for (const QVariantList& row : rows) result.Append(QVariantList{"202403", "E001", "E"} + row);
  return result;
}

class DetailSourcesTest : public test::CompanyDatabaseTest {
 protected:
  void SetUp() override {
    CompanyDatabaseTest::SetUp();
    test::Sql(m_connection,
              "INSERT INTO ALLOWNCE (ALLOW_CODE, \"YEAR\", \"DESC\", PAYCODE, IS_FUND, TRNNO) VALUES "
              "('TPT', 2024, 'TRANSPORT', 'A', 'Y', 1020), ('LOAN', 2024, 'LOAN', 'D', 'N', 20), "
              "('VOLEMPER', 2024, 'VOL ER', 'C', 'N', 7), ('$MEAL', 2024, 'MEAL', 'A', 'Y', 8), "
              "('@$CLUB', 2024, 'CLUB', 'D', 'N', 9), ('TPT', 2023, 'OLD TRANSPORT', 'A', 'Y', 1)");
    test::Sql(m_connection,
              "INSERT INTO PPARA_SF (\"YEAR\", SHIFT_STATUS, SHIFT_DESC, PAYCODE, IS_FUND) VALUES "
              "(2024, 'N', 'NIGHT', 'S', 'Y')");
    allowances.SetIndexFieldNames("YEAR;ALLOW_CODE");
    allowances.Open();
    shifts.SetIndexFieldNames("YEAR;SHIFT_STATUS;SHIFT_DESC");
    shifts.Open();
    SetUserInterface(&ui);
  }
  void TearDown() override { SetUserInterface(nullptr); }

  const ReportRowValues* Row(const QString& payCode) {
    rows = writer.Rows();
    for (const auto& r : rows)
      if (r.payCode == payCode && r.period == "202403") return &r;
    return nullptr;
  }

  test::RecordingUserInterface ui;
  db::Table allowances{m_connection, "ALLOWNCE"};
  db::Table shifts{m_connection, "PPARA_SF"};
  ReportRowWriter writer{[] { return false; }};
  DetailSources sources{writer, allowances, shifts, 2024};
  std::vector<ReportRowValues> rows;
};

TEST_F(DetailSourcesTest, AllowanceDescriptionsFollowTheFirstMatchingRule) {
  sources.AddAllowanceRows(MakeRows(
      {"ALLW_DED_CODE", "AMOUNT"},
      {{"$MEAL", -5}, {"@$CLUB", -6}, {"LOAN", -50}, {"NOSUCH", 3}, {"TPT", 150}, {"VOLEMPER", -1}}));
  struct Expect {
    const char* code;
    const char* description;
    const char* wage;
    const char* trx;
    const char* amount;
  };
  const Expect expected[] = {
      {"TPT", "1020-TRANSPORT", "Y", "A", "150"},  {"LOAN", "3520-LOAN", "N", "D", "-50"},
      {"VOLEMPER", "8005-VOL ER", "N", "C", "-1"}, {"$MEAL", "1009-MEAL", "Y", "A", "-5"},
      {"@$CLUB", "5011-CLUB", "N", "D", "-6"},     {"NOSUCH", "NOSUCH", "N", "N", "3"},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.code);
    const ReportRowValues* r = Row(e.code);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->description, QLatin1String(e.description));
    EXPECT_EQ(r->wageType, QLatin1String(e.wage));
    EXPECT_EQ(r->trxType, QLatin1String(e.trx));
    EXPECT_EQ(r->amount, Currency::FromString(e.amount));
  }
}

TEST_F(DetailSourcesTest, OvertimeGivesPayAndHoursRows) {
  sources.AddOvertimeRows(MakeRows({"OTTYPE", "OTFACTOR", "OT_DESC", "OTRATE", "FREQUENCY", "AMOUNT"},
                                   {{"1", 1.5, "OT1.5", 15, 10, 150}}));
  const ReportRowValues* pay = Row("OT1.5");
  ASSERT_NE(pay, nullptr);
  EXPECT_EQ(pay->description, "1044-OT1.5");
  EXPECT_EQ(pay->amount, Currency::FromString("150"));
  EXPECT_EQ(pay->rate, Currency::FromString("15"));
  EXPECT_EQ(pay->wageType + pay->trxType, "AO");
  const ReportRowValues* hours = Row("OTHRSOT1.5");
  ASSERT_NE(hours, nullptr);
  EXPECT_EQ(hours->description, "8011-OT1.5");
  EXPECT_EQ(hours->amount, Currency::FromString("10"));
  EXPECT_TRUE(hours->rate.IsZero());
}

TEST_F(DetailSourcesTest, ShiftRowsTakeTheirTypesFromTheParameterOrFail) {
  sources.AddShiftRows(
      MakeRows({"SHIFT_DESC", "SHIFT_STATUS", "FREQUENCY", "AMOUNT"}, {{"NIGHT", "N", 3, 45}}));
  ASSERT_NE(Row("SHIFTN"), nullptr);
  EXPECT_EQ(Row("SHIFTN")->description, "1052-NIGHT");
  EXPECT_EQ(Row("SHIFTN")->wageType + Row("SHIFTN")->trxType, "YS");
  EXPECT_EQ(Row("SHIFTNON")->description, "8012-NIGHT");
  EXPECT_EQ(Row("SHIFTNON")->amount, Currency::FromString("3"));
  // A status without a parameter fails even with a zero amount.
  try {
    sources.AddShiftRows(
        MakeRows({"SHIFT_DESC", "SHIFT_STATUS", "FREQUENCY", "AMOUNT"}, {{"DAY", "D", 0, 0}}));
    FAIL() << "no error";
  } catch (const ValidationError& e) {
    EXPECT_EQ(e.Text(), "Unable to locate Shift Parameter!");
  }
}

TEST_F(DetailSourcesTest, GroupedAndRestDaySourcesBuildTheirPayCodes) {
  const DetailRows noPay =
      MakeRows({"NPL_DAY_TYPE", "FREQUENCY", "AMOUNT"}, {{"ANNUAL", 2, -200}, {"SICK", 1, 0}});
  sources.AddGroupedAmounts(noPay, "5003", "NPL_DAY_TYPE");
  sources.AddGroupedCounts(noPay, "9001", "NPL_DAY_TYPE");
  EXPECT_EQ(Row("5003-ANNUAL")->amount, Currency::FromString("-200"));
  EXPECT_EQ(Row("5003-SICK"), nullptr);  // zero amount, while its count is written
  EXPECT_EQ(Row("9001-SICK")->amount, Currency::FromString("1"));
  EXPECT_EQ(Row("9001-ANNUAL")->description, "9001-ANNUAL");
  EXPECT_EQ(Row("9001-ANNUAL")->wageType + Row("9001-ANNUAL")->trxType, "OD");

  const DetailRows restDays = MakeRows({"RESTDAY_TYPE", "FREQUENCY", "AMOUNT"},
                                       {{"1.0LDay#", 2, 80}, {"3.0D Day", 1, 99}, {"3.0D Day", 1, 9}});
  sources.AddRestDayAmounts(restDays);
  sources.AddRestDayCounts(restDays);
  EXPECT_EQ(Row("1054-1.0LDay#")->amount, Currency::FromString("80"));
  EXPECT_EQ(Row("9044-1.0LDay#")->amount, Currency::FromString("2"));
  EXPECT_EQ(writer.Rows().size(), 5u * 10u);  // five pay codes, March to December
  ASSERT_EQ(ui.warnings.size(), 1);           // once per unknown type and run
  EXPECT_TRUE(ui.warnings[0].contains("'3.0D Day'")) << ui.warnings[0].toStdString();
}

TEST_F(DetailSourcesTest, CpfWageRecordGivesThreeFigures) {
  sources.AddCpfWageRows(MakeRows({"ACTUAL_AW_PAID", "CPFAWWAGE", "CPFOWWAGE"}, {{QVariant(), 500, 6000}}));
  EXPECT_EQ(Row("ORD_WAGE")->description, "8011-CPF ORDINARY WAGES");
  EXPECT_EQ(Row("ORD_WAGE")->amount, Currency::FromString("6000"));
  EXPECT_EQ(Row("ADD_WAGE")->description, "8012-CPF ADDITIONAL WAGES");
  EXPECT_EQ(Row("ACT_AW"), nullptr);
}

}  // namespace
