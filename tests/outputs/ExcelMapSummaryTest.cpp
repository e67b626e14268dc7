// The rebuild of the pay-item map: which items it maps, their groups and types, reserved rows,
// numbering with column letters and fields, the year of the allowance captions, passwords, and a
// map larger than RP_HTRX has fields for.
#include <gtest/gtest.h>

#include "MappedTestData.h"
#include "context/Errors.h"
#include "outputs/ExcelMapSummary.h"

namespace tarno::test {
namespace {

using outputs::NextColumnLetters;

TEST(ExcelMapColumnLetters, AdvanceAsSpreadsheetColumnsDo) {
  const struct {
    const char* from;
    const char* next;
  } cases[] = {{"E", "F"},   {"Y", "Z"},    {"Z", "AA"},   {"AA", "AB"},
               {"AZ", "BA"}, {"ZZ", "AAA"}, {"AZZ", "BAA"}};
  for (const auto& c : cases)
    EXPECT_EQ(NextColumnLetters(QString::fromLatin1(c.from)), QString::fromLatin1(c.next)) << c.from;

  // Row n of the map stands in the column reached after n-1 steps from "E".
  QString column = QStringLiteral("E");
  QStringList columns = {column};
  for (int row = 2; row <= 75; ++row) columns << (column = NextColumnLetters(column));
  EXPECT_EQ(columns[21], "Z");
  EXPECT_EQ(columns[22], "AA");  // row 23
  EXPECT_EQ(columns[47], "AZ");
  EXPECT_EQ(columns[48], "BA");  // row 49
  EXPECT_EQ(columns[74], "CA");
}

TEST(ExcelMapFieldNumber, ReadsOnlyTheMappedFields) {
  EXPECT_EQ(outputs::MappedFieldNumber("FIELD_NO1"), 1);
  EXPECT_EQ(outputs::MappedFieldNumber("FIELD_NO200"), 200);
  EXPECT_EQ(outputs::MappedFieldNumber("FIELD_NO201"), 0);
  EXPECT_EQ(outputs::MappedFieldNumber("PERCENT"), 0);
  EXPECT_EQ(outputs::MappedFieldNumber(""), 0);
  EXPECT_EQ(outputs::MappedFieldNumber("FIELD_NO0"), 0);
}

// One month with allowances of every kind and only the wage totals that are always there.
TEST(ExcelMapSummary, MapsItemsInGroupOrderWithColumnsAndFields) {
  ScratchDatabase db(QStringLiteral("excelmap-groups"));
  AddAllowance(db, "$TRN", 2004, "Transport", "");
  AddAllowance(db, "$MEAL", 2004, "Meal", "Y");
  AddAllowance(db, "@$LOAN", 2004, "Loan repayment", "N");
  AddAllowance(db, "$ZERO", 2004, "Cancelled claim", "N");
  AddAllowance(db, "CDAC", 2004, "CDAC Fund", "");
  AddAllowance(db, "SINDA", 2004, "SINDA Fund", "");
  AddPayment(db, "200402", "E", "E001", "$TRN", 100);
  AddPayment(db, "200402", "E", "E001", "$MEAL", 50);
  AddPayment(db, "200402", "E", "E001", "@$LOAN", -30);
  AddPayment(db, "200402", "E", "E001", "$ZERO", 20);
  AddPayment(db, "200402", "M", "E001", "$ZERO", -20);
  AddPayment(db, "200402", "E", "E001", "CDAC", -2);
  AddPayment(db, "200402", "E", "E001", "SINDA", 3);
  AddHistory(db, "200402", "E", "E001", {{"BASIC", 3000}, {"CPFEMPER", 510}, {"NETT_WAGE", 2400}});

  RebuildExcelMap(db, "200402", "200402");

  const auto rows = ReadExcelMap(db);
  const struct {
    const char* payItem;
    const char* item;
    const char* type;
    const char* column;
    const char* field;
  } expected[] = {
      {"GROSS_WAGE", "", "C", "E", "FIELD_NO1"},       {"NETT_WAGE", "", "C", "F", "FIELD_NO2"},
      {"BASIC", "A", "A", "G", "FIELD_NO3"},           {"$MEAL", "CPFWAGE", "A", "H", "FIELD_NO4"},
      {"$TRN", "CPFWAGE", "A", "I", "FIELD_NO5"},      {"$ZERO", "NONCPFWAGE", "D", "J", "FIELD_NO6"},
      {"@$LOAN", "NONCPFWAGE", "D", "K", "FIELD_NO7"}, {"CPFEMPER", "Z", "C", "L", "FIELD_NO8"},
  };
  ASSERT_EQ(rows.size(), static_cast<int>(std::size(expected)))
      << QStringList(rows.keys()).join(',').toStdString();
  for (const auto& e : expected) {
    SCOPED_TRACE(e.payItem);
    ASSERT_TRUE(rows.contains(e.payItem));
    const MapRow& row = rows[e.payItem];
    EXPECT_EQ(row.item, e.item);
    EXPECT_EQ(row.itemType, e.type);
    EXPECT_EQ(row.excelCol, e.column);
    EXPECT_EQ(row.fieldName, e.field);
    EXPECT_TRUE(row.marked);
  }
  EXPECT_EQ(rows["$TRN"].descr, "Transport");
  EXPECT_EQ(rows["GROSS_WAGE"].descr, "Gross Wages");
  EXPECT_FALSE(rows.contains("CDAC"));
  EXPECT_FALSE(rows.contains("SINDA"));
}

// The six conditional wage totals appear exactly when their sum over the range is not zero.
TEST(ExcelMapSummary, AddsConditionalWageTotalsOnlyWhenTheRangeHoldsThem) {
  ScratchDatabase db(QStringLiteral("excelmap-totals"));
  AddHistory(db, "200401", "E", "E001",
             {{"BASIC", 2000}, {"OTAMT", 150}, {"SHIFTAMT", 0}, {"RESTAMT", 80}, {"SDF", 5}});
  AddHistory(db, "200401", "E", "E002", {{"BASIC", 2500}, {"TOTAL_NPL", 120}, {"RESTAMT", -80}});
  AddHistory(db, "200403", "E", "E002", {{"FWL", 300}});  // outside the range

  RebuildExcelMap(db, "200401", "200402");

  const auto rows = ReadExcelMap(db);
  const struct {
    const char* payItem;
    bool present;
    const char* descr;
  } cases[] = {
      {"BASIC", true, "Basic Salary"},
      {"CPFEMPER", true, "Employer CPF"},
      {"NETT_WAGE", true, "Nett Wages"},
      {"GROSS_WAGE", true, "Gross Wages"},
      {"OTAMT", true, "Overtime"},
      {"SHIFTAMT", false, ""},
      {"RESTAMT", false, ""},  // +80 and -80 sum to 0
      {"TOTAL_NPL", true, "Total NPL"},
      {"SDF", true, "SDL"},
      {"FWL", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.payItem);
    EXPECT_EQ(rows.contains(c.payItem), c.present);
    if (c.present) {
      EXPECT_EQ(rows[c.payItem].descr, c.descr);
    }
  }
  EXPECT_EQ(rows["TOTAL_NPL"].item, "CPFWAGE");
  EXPECT_EQ(rows["TOTAL_NPL"].itemType, "D");
  EXPECT_EQ(rows["SDF"].item, "Z");
}

TEST(ExcelMapSummary, KeepsReservedRowsAndThePercentField) {
  ScratchDatabase db(QStringLiteral("excelmap-reserved"));
  AddAllowance(db, "$TRN", 2004, "Transport", "");
  AddPayment(db, "200402", "E", "E001", "$TRN", 100);
  AddHistory(db, "200402", "E", "E001", {{"BASIC", 3000}});
  // A reserved row met by the range: keeps its caption, group and type.
  AddMapRow(db, {"$TRN", "Transport (fixed)", "NONCPFWAGE", "A", "X", "FIELD_NO99", "", false}, "Y");
  // A reserved row not met, whose field is PERCENT.
  AddMapRow(db, {"CPFRATE", "CPF %", "Z", "P", "", "PERCENT", "", true}, "Y");
  // A reserved row not met with a line mark; and a row left from an earlier run, not reserved.
  AddMapRow(db, {"ADJ", "Adjustments", "Z", "A", "", "", "L1", true}, "R");
  AddMapRow(db, {"OLDCODE", "Old code", "CPFWAGE", "A", "M", "FIELD_NO9", "", true}, QVariant());

  RebuildExcelMap(db, "200402", "200402");

  const auto rows = ReadExcelMap(db);
  EXPECT_FALSE(rows.contains("OLDCODE"));
  const MapRow& trn = rows["$TRN"];
  EXPECT_EQ(trn.descr, "Transport (fixed)");
  EXPECT_EQ(trn.item, "NONCPFWAGE");
  EXPECT_EQ(trn.itemType, "A");
  EXPECT_TRUE(trn.marked);
  EXPECT_FALSE(rows["CPFRATE"].marked);
  EXPECT_FALSE(rows["ADJ"].marked);
  EXPECT_EQ(rows["ADJ"].line, "L1");

  // Order: GROSS_WAGE, NETT_WAGE, BASIC, $TRN (NONCPFWAGE), ADJ (Z A), CPFEMPER (Z C), CPFRATE (Z P).
  const struct {
    const char* payItem;
    const char* column;
    const char* field;
  } expected[] = {{"GROSS_WAGE", "E", "FIELD_NO1"}, {"NETT_WAGE", "F", "FIELD_NO2"},
                  {"BASIC", "G", "FIELD_NO3"},      {"$TRN", "H", "FIELD_NO4"},
                  {"ADJ", "I", "FIELD_NO5"},        {"CPFEMPER", "J", "FIELD_NO6"},
                  {"CPFRATE", "K", "PERCENT"}};
  ASSERT_EQ(rows.size(), static_cast<int>(std::size(expected)));
  for (const auto& e : expected) {
    SCOPED_TRACE(e.payItem);
    EXPECT_EQ(rows[e.payItem].excelCol, e.column);
    EXPECT_EQ(rows[e.payItem].fieldName, e.field);
  }
}

// The PERCENT row uses up its number: the row after it skips that number.
TEST(ExcelMapSummary, PercentRowUsesUpItsNumber) {
  ScratchDatabase db(QStringLiteral("excelmap-percent"));
  AddHistory(db, "200402", "E", "E001", {{"BASIC", 3000}});
  AddMapRow(db, {"BASIC2", "Basic %", "A", "A", "", "PERCENT", "", false}, "Y");  // right after BASIC

  RebuildExcelMap(db, "200402", "200402");

  const auto rows = ReadExcelMap(db);
  EXPECT_EQ(rows["BASIC"].fieldName, "FIELD_NO3");
  EXPECT_EQ(rows["BASIC2"].fieldName, "PERCENT");
  EXPECT_EQ(rows["BASIC2"].excelCol, "H");
  EXPECT_EQ(rows["CPFEMPER"].fieldName, "FIELD_NO5");
  EXPECT_EQ(rows["CPFEMPER"].excelCol, "I");
}

// The allowance statement takes the year from the to-period: across a year end, a code that has
// no ALLOWNCE row for the later year is left out, and captions come from the later year.
TEST(ExcelMapSummary, RangeAcrossYearEndUsesTheLaterYearsAllowances) {
  ScratchDatabase db(QStringLiteral("excelmap-yearend"));
  AddAllowance(db, "$XMAS", 2004, "Christmas bonus", "");
  AddAllowance(db, "$TRN", 2004, "Transport 2004", "");
  AddAllowance(db, "$TRN", 2005, "Transport 2005", "");
  AddPayment(db, "200412", "E", "E001", "$XMAS", 500);
  AddPayment(db, "200412", "E", "E001", "$TRN", 100);
  AddPayment(db, "200501", "E", "E001", "$TRN", 100);
  AddHistory(db, "200412", "E", "E001", {{"BASIC", 3000}});

  RebuildExcelMap(db, "200412", "200501");

  const auto rows = ReadExcelMap(db);
  EXPECT_FALSE(rows.contains("$XMAS"));
  ASSERT_TRUE(rows.contains("$TRN"));
  EXPECT_EQ(rows["$TRN"].descr, "Transport 2005");
}

// The statements name encrypted tables (P_DTRXAW, P_HTRX): on a free-table connection they run
// only with the table password.
TEST(ExcelMapSummary, StatementsNeedTheTablePasswordOnFreeTables) {
  ScratchDatabase db(QStringLiteral("excelmap-password"));
  ASSERT_FALSE(db.connection().IsDictionary());
  AddHistory(db, "200402", "E", "E001", {{"BASIC", 3000}});
  EXPECT_THROW(RebuildExcelMap(db, "200402", "200402", QStringLiteral("wrong")), DatabaseError);
  RebuildExcelMap(db, "200402", "200402");
  EXPECT_EQ(ReadExcelMap(db).size(), 4);
}

// More rows than RP_HTRX has fields: every row keeps its column, rows past 200 get no field, and
// one warning names them.
TEST(ExcelMapSummary, RowsPastTwoHundredGetAColumnButNoField) {
  ScratchDatabase db(QStringLiteral("excelmap-wide"));
  RecordingInterface ui;
  AddHistory(db, "200402", "E", "E001", {{"BASIC", 3000}});
  db.Exec("BEGIN");
  for (int i = 1; i <= 205; ++i) {
    const QString code = QStringLiteral("$A%1").arg(i, 3, 10, QLatin1Char('0'));
    AddAllowance(db, code, 2004, QStringLiteral("Allowance %1").arg(i), "");
    AddPayment(db, "200402", "E", "E001", code, 10);
  }
  db.Exec("COMMIT");

  RebuildExcelMap(db, "200402", "200402");

  const auto rows = ReadExcelMap(db);
  ASSERT_EQ(rows.size(), 209);
  // Order: GROSS_WAGE, NETT_WAGE, BASIC, $A001..$A205, CPFEMPER.
  EXPECT_EQ(rows["$A020"].excelCol, "AA");  // row 23
  EXPECT_EQ(rows["$A046"].excelCol, "BA");  // row 49
  EXPECT_EQ(rows["$A197"].fieldName, "FIELD_NO200");
  EXPECT_EQ(rows["$A198"].fieldName, "");
  EXPECT_EQ(rows["$A198"].excelCol, "GW");  // row 201
  EXPECT_EQ(rows["CPFEMPER"].fieldName, "");
  EXPECT_EQ(rows["CPFEMPER"].excelCol, "HE");  // row 209
  ASSERT_EQ(ui.warnings.size(), 1);
  EXPECT_TRUE(ui.warnings[0].contains("$A198")) << ui.warnings[0].toStdString();
  EXPECT_TRUE(ui.warnings[0].contains("CPFEMPER"));
  EXPECT_FALSE(ui.warnings[0].contains("$A197"));
}

}  // namespace
}  // namespace tarno::test
