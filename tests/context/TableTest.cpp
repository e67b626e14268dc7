// Tables through the layer: order, keyed search, ranges, field reads, posts written through.
#include <gtest/gtest.h>

#include "DatabaseFixture.h"
#include "context/Errors.h"
#include "context/Table.h"

namespace tarno::test {
namespace {

using db::Table;

class TableTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    CreateReportTable();
  }
  QStringList Keys(Table& table) {
    QStringList keys;
    for (table.First(); !table.Eof(); table.Next())
      keys << table.FieldAsString("EMPCODE") + "/" + table.FieldAsString("PAYCODE") + "/" +
                  table.FieldAsString("PERIOD");
    return keys;
  }
};

TEST_F(TableTest, OpensInIndexOrderAndStoredOrderWithoutIndex) {
  Table table(m_connection, "RPTRX.ADT");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 5);
  EXPECT_EQ(Keys(table), QStringList({"E001/BASIC/202401", "E001/BASIC/202402", "E001/CPFEE/202401",
                                      "E002/BASIC/202402", "E003/OT/202401"}));
  table.Close();
  table.SetIndexFieldNames("");
  table.Open();
  EXPECT_EQ(Keys(table).first(), "E002/BASIC/202402");
  // Changing the order of an open table re-sorts it.
  table.SetIndexFieldNames("PERIOD;EMPCODE");
  EXPECT_EQ(Keys(table).first(), "E001/BASIC/202401");
}

TEST_F(TableTest, FieldReadsTrimBlanksAndConvert) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  ASSERT_TRUE(table.FindKey({"E002"}));
  EXPECT_EQ(table.FieldAsString("DESCRIPT"), "Basic pay");
  EXPECT_EQ(table.FieldAsString("descript"), "Basic pay");  // field names in any case
  EXPECT_EQ(table.FieldAsInteger("AMOUNT"), 2000);
  EXPECT_EQ(table.FieldAsDate("TRXDATE"), QDate(2024, 2, 29));
  ASSERT_TRUE(table.FindKey({"E001", "BASIC", "202401"}));
  EXPECT_EQ(table.FieldAsCurrency("AMOUNT"), Currency::FromString("1500.25"));
  EXPECT_DOUBLE_EQ(table.FieldAsFloat("AMOUNT"), 1500.25);
  EXPECT_EQ(table.FieldAsInteger("PERIOD"), 202401);  // numeric text reads as a number
  ASSERT_TRUE(table.FindKey({"E001", "CPFEE"}));
  EXPECT_FALSE(table.FieldAsDate("TRXDATE").isValid());  // null date
  EXPECT_TRUE(table.FieldIsNull("TRXDATE"));
}

TEST_F(TableTest, FindKeyFindsExactKeysAndLeavesTheRecordWhenNothingIsFound) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  ASSERT_TRUE(table.FindKey({"E001", "CPFEE"}));
  struct Case {
    QVariantList key;
    bool found;
  };
  const Case cases[] = {
      {{"E001", "BASIC", "202402"}, true},
      {{"E001 ", "BASIC  "}, true},  // trailing blanks do not count
      {{"E001", "BASIC", "202403"}, false},
      {{"E00"}, false},  // a partial text is no exact key
      {{"E004"}, false},
      {{"E000"}, false},
  };
  for (const Case& c : cases) {
    table.FindKey({"E001", "CPFEE"});
    EXPECT_EQ(table.FindKey(c.key), c.found) << c.key.first().toString().toStdString();
    if (!c.found) {
      EXPECT_EQ(table.FieldAsString("PAYCODE"), "CPFEE") << "current record moved";
    }
  }
}

TEST_F(TableTest, FindNearestPositionsOnTheFirstKeyNotLess) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  struct Case {
    QVariantList key;
    QString expected;  // "" == end of data
  };
  const Case cases[] = {
      {{"E001", "C"}, "E001/CPFEE/202401"},
      {{"E00"}, "E001/BASIC/202401"},
      {{"E002"}, "E002/BASIC/202402"},
      {{"E001", "BASIC", "202401x"}, "E001/BASIC/202402"},
      {{"E9"}, ""},
  };
  for (const Case& c : cases) {
    table.FindNearest(c.key);
    if (c.expected.isEmpty()) {
      EXPECT_TRUE(table.Eof());
    } else {
      ASSERT_FALSE(table.Eof());
      EXPECT_EQ(table.FieldAsString("EMPCODE") + "/" + table.FieldAsString("PAYCODE") + "/" +
                    table.FieldAsString("PERIOD"),
                c.expected);
    }
  }
}

TEST_F(TableTest, RangesAreInclusiveOnLeadingFieldsAndCancelRestoresAll) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  table.SetRange({"E001", "BASIC"}, {"E001", "BASIC"});
  EXPECT_EQ(Keys(table), QStringList({"E001/BASIC/202401", "E001/BASIC/202402"}));
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_FALSE(table.FindKey({"E002"})) << "FindKey stays inside the range";
  table.SetRange({"E002"}, {"E003"});
  EXPECT_EQ(Keys(table), QStringList({"E002/BASIC/202402", "E003/OT/202401"}));
  table.SetRange({"E005"}, {"E009"});
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.RecordCount(), 0);
  table.CancelRange();
  EXPECT_EQ(table.RecordCount(), 5);
}

TEST_F(TableTest, NumericKeysCompareAsNumbersWhateverTheKeyType) {
  RunSql(m_connection, "CREATE TABLE ALLOWNCE (\"YEAR\" INTEGER, ALLOW_CODE CHAR(10), \"DESC\" CHAR(30))");
  RunSql(m_connection,
         "INSERT INTO ALLOWNCE VALUES (2024, 'TRANSPORT', 'Transport'), (999, 'OLD', 'Old'), (10000, 'FUT', "
         "'F'), "
         "(2024, 'MEAL', 'Meal')");
  Table table(m_connection, "ALLOWNCE.ADT");
  table.SetIndexFieldNames("YEAR;ALLOW_CODE");
  table.Open();
  QStringList order;
  for (table.First(); !table.Eof(); table.Next()) order << table.FieldAsString("ALLOW_CODE");
  EXPECT_EQ(order, QStringList({"OLD", "MEAL", "TRANSPORT", "FUT"}));  // 999 < 2024 < 10000
  for (const QVariant& year : {QVariant(2024), QVariant("2024"), QVariant(2024.0)}) {
    EXPECT_TRUE(table.FindKey({year, "TRANSPORT"})) << year.toString().toStdString();
    EXPECT_EQ(table.FieldAsString("DESC"), "Transport");
  }
  EXPECT_FALSE(table.FindKey({"2025"}));

  // The same with a column declared without a type, and with the year kept as text.
  RunSql(m_connection, "CREATE TABLE LOOSE (\"YEAR\", CODE CHAR(4))");
  RunSql(m_connection, "INSERT INTO LOOSE VALUES (10000, 'C'), (999, 'A'), (2024, 'B')");
  RunSql(m_connection, "CREATE TABLE TEXTYEAR (\"YEAR\" CHAR(4), CODE CHAR(4))");
  RunSql(m_connection, "INSERT INTO TEXTYEAR VALUES ('2025', 'C'), ('2023', 'A'), ('2024', 'B')");
  for (const char* name : {"LOOSE", "TEXTYEAR"}) {
    Table other(m_connection, name);
    other.SetIndexFieldNames("YEAR");
    other.Open();
    EXPECT_EQ(other.FieldAsString("CODE"), "A") << name;
    for (const QVariant& year : {QVariant(2024), QVariant("2024")}) {
      EXPECT_TRUE(other.FindKey({year})) << name;
      EXPECT_EQ(other.FieldAsString("CODE"), "B") << name;
    }
  }
}

TEST_F(TableTest, EditAndAppendWriteThroughAndKeepTheOrder) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  ASSERT_TRUE(table.FindKey({"E003"}));
  table.Edit();
  table.SetFieldFloat("AMOUNT", 99.5);
  table.SetFieldString("DESCRIPT", "Changed  ");
  EXPECT_TRUE(table.InEditState());
  table.Post();
  EXPECT_EQ(table.State(), db::DatasetState::Browse);
  EXPECT_DOUBLE_EQ(SqlValue(m_connection, "SELECT AMOUNT FROM RPTRX WHERE EMPCODE='E003'").toDouble(), 99.5);
  EXPECT_EQ(table.FieldAsString("DESCRIPT"), "Changed");

  table.Append();
  table.SetFieldString("EMPCODE", "E000");
  table.SetFieldString("PAYCODE", "BASIC");
  table.SetFieldString("PERIOD", "202401");
  table.SetFieldString("AMOUNT", "12.3456");
  table.SetFieldValue("TRXDATE", QDate(2024, 1, 31));
  table.Post();
  EXPECT_EQ(table.FieldAsString("EMPCODE"), "E000") << "the appended record is current";
  EXPECT_EQ(table.FieldAsString("CYCLE"), "E") << "defaults filled in by the database show";
  EXPECT_EQ(table.FieldAsCurrency("AMOUNT"), Currency::FromString("12.3456"));
  EXPECT_EQ(SqlValue(m_connection, "SELECT TRXDATE FROM RPTRX WHERE EMPCODE='E000'").toString(),
            "2024-01-31");
  table.First();
  EXPECT_EQ(table.FieldAsString("EMPCODE"), "E000");
  EXPECT_EQ(table.RecordCount(), 6);

  // A key change moves the record to its new place.
  ASSERT_TRUE(table.FindKey({"E000"}));
  table.Edit();
  table.SetFieldString("EMPCODE", "E009");
  table.Post();
  EXPECT_EQ(table.FieldAsString("EMPCODE"), "E009");
  table.Next();
  EXPECT_TRUE(table.Eof());

  // Navigating posts a pending edit; Cancel drops one.
  ASSERT_TRUE(table.FindKey({"E002"}));
  table.Edit();
  table.SetFieldFloat("AMOUNT", 1);
  table.Next();
  EXPECT_EQ(SqlValue(m_connection, "SELECT AMOUNT FROM RPTRX WHERE EMPCODE='E002'").toInt(), 1);
  ASSERT_TRUE(table.FindKey({"E002"}));
  table.Edit();
  table.SetFieldFloat("AMOUNT", 5);
  table.Cancel();
  EXPECT_EQ(table.FieldAsInteger("AMOUNT"), 1);
  EXPECT_EQ(SqlValue(m_connection, "SELECT AMOUNT FROM RPTRX WHERE EMPCODE='E002'").toInt(), 1);
}

TEST_F(TableTest, AppendInsideARangeStaysInIt) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  table.SetRange({"E001"}, {"E001"});
  table.Append();
  table.SetFieldString("EMPCODE", "E001");
  table.SetFieldString("PAYCODE", "AAA");
  table.Post();
  EXPECT_EQ(table.RecordCount(), 4);
  table.First();
  EXPECT_EQ(table.FieldAsString("PAYCODE"), "AAA");
}

TEST_F(TableTest, BadInputGivesClearErrorsAndWritesNothing) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE;PAYCODE;PERIOD");
  table.Open();
  ASSERT_TRUE(table.FindKey({"E001"}));
  auto expectError = [](const std::function<void()>& action, const QStringList& words) {
    try {
      action();
      ADD_FAILURE() << "no error for " << words.join(' ').toStdString();
    } catch (const DatabaseError& error) {
      for (const QString& word : words)
        EXPECT_TRUE(error.Text().contains(word))
            << error.Text().toStdString() << " lacks " << word.toStdString();
    }
  };
  expectError([&] { table.FieldAsString("NOPE"); }, {"RPTRX", "NOPE"});
  expectError([&] { table.FieldAsFloat("DESCRIPT"); }, {"RPTRX", "DESCRIPT", "Basic pay", "not a number"});
  expectError([&] { table.FieldAsInteger("EMPCODE"); }, {"RPTRX", "EMPCODE"});
  expectError([&] { table.FieldAsDate("DESCRIPT"); }, {"RPTRX", "DESCRIPT", "date"});
  expectError([&] { table.SetFieldString("AMOUNT", "1"); }, {"RPTRX", "AMOUNT", "Edit"});
  table.Edit();
  expectError([&] { table.SetFieldString("AMOUNT", "12,5x"); }, {"RPTRX", "AMOUNT", "12,5x", "not a number"});
  table.Cancel();
  expectError([&] { table.Post(); }, {"RPTRX"});

  Table missing(m_connection, "NOTHERE.ADT");
  expectError([&] { missing.Open(); }, {"NOTHERE", "does not exist"});
  EXPECT_FALSE(missing.IsOpen());
  Table badIndex(m_connection, "RPTRX");
  badIndex.SetIndexFieldNames("EMPCODE;NOFIELD");
  expectError([&] { badIndex.Open(); }, {"RPTRX", "NOFIELD"});
  EXPECT_FALSE(badIndex.IsOpen());
  Table unkeyed(m_connection, "RPTRX");
  unkeyed.Open();
  expectError([&] { unkeyed.FindKey({"E001"}); }, {"RPTRX", "index"});
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 5);
  EXPECT_FALSE(m_connection.HasTable("NOTHERE"));
}

}  // namespace
}  // namespace tarno::test
