// Queries through the layer: parameters, statement reuse, client-side order, calculated fields,
// widths, live queries, and the errors of bad statements.
#include <gtest/gtest.h>

#include "DatabaseFixture.h"
#include "context/Errors.h"
#include "context/Query.h"

namespace tarno::test {
namespace {

using db::Query;

class QueryTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    CreateReportTable();
    RunSql(m_connection,
           "CREATE TABLE ALLOWNCE (\"YEAR\" INTEGER, ALLOW_CODE CHAR(10), \"DESC\" CHAR(30), PAYCODE2 "
           "CHAR(10))");
    RunSql(
        m_connection,
        "INSERT INTO ALLOWNCE VALUES (2024, 'TRANSPORT', 'Transport  ', ''), (2024, 'MEAL', 'Meal', 'FOOD'), "
        "(2023, 'TRANSPORT', 'Old transport', '')");
  }
  QStringList Column(Query& query, const QString& field) {
    QStringList values;
    for (query.First(); !query.Eof(); query.Next()) values << query.FieldAsString(field);
    return values;
  }
};

TEST_F(QueryTest, NamedParametersAsStringsAndQuotedIdentifiers) {
  Query query(m_connection);
  query.AddLine("SELECT ALLOW_CODE, \"DESC\" FROM ALLOWNCE");
  query.AddLine("WHERE \"YEAR\" = :YEAR AND (:YEAR > 2000) ORDER BY ALLOW_CODE");
  query.SetParam("year", "2024");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(Column(query, "ALLOW_CODE"), QStringList({"MEAL", "TRANSPORT"}));
  EXPECT_EQ(Column(query, "desc"), QStringList({"Meal", "Transport"}));
  query.Close();
  query.SetParam(":YEAR", "2023");
  query.Open();
  EXPECT_EQ(Column(query, "DESC"), QStringList({"Old transport"}));
  query.Close();

  query.ClearSQL();
  query.AddLine("SELECT * FROM RPTRX WHERE PERIOD = :NEVERSET");
  try {
    query.Open();
    FAIL() << "ran with a parameter without value";
  } catch (const DatabaseError& error) {
    EXPECT_TRUE(error.Text().contains("NEVERSET")) << error.Text().toStdString();
  }
}

TEST_F(QueryTest, AnEmptyResultReadsAsEmpty) {
  Query query(m_connection);
  query.SetSQL({"SELECT SUM(AMOUNT) AS TOTAL, MAX(EMPCODE) AS E FROM RPTRX WHERE PERIOD = '199901'"});
  query.Open();
  EXPECT_FALSE(query.Eof());
  EXPECT_EQ(query.FieldAsCurrency("TOTAL"), Currency());
  EXPECT_EQ(query.FieldAsString("E"), "");
  query.Close();
  query.SetSQL({"SELECT * FROM RPTRX WHERE PERIOD = '199901'"});
  query.Open();
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.RecordCount(), 0);
  EXPECT_EQ(query.FieldAsFloat("AMOUNT"), 0.0);
}

TEST_F(QueryTest, ExecSqlRunsWithNewParametersAndNewTexts) {
  Query query(m_connection);
  query.AddLine("UPDATE RPTRX SET AMOUNT = AMOUNT + :ADD WHERE EMPCODE = :EMP");
  const std::pair<const char*, int> runs[] = {{"E001", 3}, {"E002", 1}, {"E009", 0}, {"E001", 3}};
  for (const auto& [employee, rows] : runs) {
    query.SetParam("ADD", "1.5");
    query.SetParam("EMP", employee);
    query.ExecSQL();
    EXPECT_EQ(query.RowsAffected(), rows) << employee;
  }
  EXPECT_DOUBLE_EQ(
      SqlValue(m_connection, "SELECT AMOUNT FROM RPTRX WHERE EMPCODE='E001' AND PAYCODE='CPFEE'").toDouble(),
      303);
  query.SQL().clear();
  query.SQL() << "DELETE FROM RPTRX WHERE EMPCODE = :EMP";
  query.ExecSQL();
  EXPECT_EQ(query.RowsAffected(), 3);
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 2);
}

TEST_F(QueryTest, IndexFieldNamesOrdersTheResultAndEmptyKeepsTheStatementOrder) {
  Query query(m_connection);
  query.SetSQL({"SELECT EMPCODE, AMOUNT FROM RPTRX ORDER BY AMOUNT DESC"});
  query.Open();
  EXPECT_EQ(Column(query, "EMPCODE"), QStringList({"E002", "E001", "E001", "E001", "E003"}));
  query.SetIndexFieldNames("AMOUNT");
  EXPECT_EQ(Column(query, "AMOUNT"), QStringList({"120.5", "300", "1500.25", "1500.25", "2000"}));
  query.Close();
  query.SetIndexFieldNames("");
  query.Open();
  EXPECT_EQ(Column(query, "EMPCODE").first(), "E002");
}

TEST_F(QueryTest, CalculatedFieldsWidthsAndAfterOpen) {
  Query query(m_connection);
  query.SetSQL({"SELECT EMPCODE, PAYCODE, DESCRIPT FROM RPTRX ORDER BY EMPCODE, PAYCODE, PERIOD"});
  query.AddCalculatedField("LABEL", db::FieldKind::String, 8);
  query.SetFieldWidth("DESCRIPT", 5);
  int calculations = 0;
  query.OnCalcFields = [&](db::Dataset& record) {
    ++calculations;
    EXPECT_TRUE(record.FieldIsNull("LABEL")) << "calculated fields start empty for each record";
    record.SetFieldString("LABEL", record.FieldAsString("EMPCODE") + "-" + record.FieldAsString("PAYCODE"));
  };
  int recordsSeenAfterOpen = -1;
  query.AfterOpen = [&](db::Dataset& dataset) { recordsSeenAfterOpen = dataset.RecordCount(); };
  query.Open();
  EXPECT_EQ(recordsSeenAfterOpen, 5);
  EXPECT_EQ(Column(query, "LABEL"), QStringList({"E001-BAS", "E001-BAS", "E001-CPF", "E002-BAS", "E003-OT"}));
  EXPECT_EQ(Column(query, "DESCRIPT"), QStringList({"Basic", "Basic", "CPF e", "Basic", "Overt"}));
  EXPECT_TRUE(query.FieldNames().contains("LABEL"));
  EXPECT_EQ(calculations, 5) << "once per record";
}

TEST_F(QueryTest, LiveQueryWritesEditsBackToItsTable) {
  Query query(m_connection);
  query.SetSQL({"SELECT ALLOW_CODE,\"DESC\",PAYCODE2 FROM ALLOWNCE WHERE \"YEAR\"=:YEAR"});
  query.SetParam("YEAR", "2024");
  query.SetRequestLive(true);
  query.Open();
  EXPECT_EQ(query.FieldNames(), QStringList({"ALLOW_CODE", "DESC", "PAYCODE2"}));
  for (query.First(); !query.Eof(); query.Next()) {
    query.Edit();
    query.SetFieldString("PAYCODE2", "G-" + query.FieldAsString("ALLOW_CODE"));
    query.Post();
  }
  EXPECT_EQ(SqlValue(m_connection,
                     "SELECT GROUP_CONCAT(PAYCODE2, ',') FROM (SELECT PAYCODE2 FROM ALLOWNCE "
                     "ORDER BY \"YEAR\", ALLOW_CODE)")
                .toString(),
            ",G-MEAL,G-TRANSPORT")
      << "only the selected year's rows changed";
  query.First();
  EXPECT_EQ(query.FieldAsString("PAYCODE2"), "G-TRANSPORT");

  Query readOnly(m_connection);
  readOnly.SetSQL({"SELECT ALLOW_CODE, PAYCODE2 FROM ALLOWNCE"});
  readOnly.Open();
  readOnly.Edit();
  readOnly.SetFieldString("PAYCODE2", "X");
  EXPECT_THROW(readOnly.Post(), DatabaseError);
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM ALLOWNCE WHERE PAYCODE2 = 'X'").toInt(), 0);
}

TEST_F(QueryTest, BadStatementsNameWhatIsWrong) {
  struct Case {
    const char* sql;
    const char* named;
    bool exec;
  };
  const Case cases[] = {
      {"SELECT NOCOLUMN FROM RPTRX", "NOCOLUMN", false},
      {"SELECT * FROM NOTABLE", "NOTABLE", false},
      {"UPDATE RPTRX SET NOCOLUMN = 1", "NOCOLUMN", true},
      {"DELETE FROM RPTRX WHERE", "DELETE FROM RPTRX", true},
      {"DELETE FROM RPTRX", "ExecSQL", false},
  };
  for (const Case& c : cases) {
    Query query(m_connection);
    query.AddLine(c.sql);
    try {
      c.exec ? query.ExecSQL() : query.Open();
      ADD_FAILURE() << "no error for " << c.sql;
    } catch (const DatabaseError& error) {
      EXPECT_TRUE(error.Text().contains(c.named)) << error.Text().toStdString();
    }
    EXPECT_FALSE(query.IsOpen());
  }
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 5)
      << "a failed statement changed data";
  Query query(m_connection);
  query.AddLine("SELECT EMPCODE, DESCRIPT FROM RPTRX");
  query.Open();
  EXPECT_THROW(query.FieldAsCurrency("DESCRIPT"), DatabaseError);
  try {
    query.FieldAsString("MISSING");
    FAIL();
  } catch (const DatabaseError& error) {
    EXPECT_TRUE(error.Text().contains("MISSING") && error.Text().contains("SELECT EMPCODE"))
        << error.Text().toStdString();
  }
}

}  // namespace
}  // namespace tarno::test
