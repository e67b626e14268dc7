// Encrypted tables: on a free-table connection records and statements need the table password;
// on a dictionary connection none is needed. Also which tables a statement names.
#include <gtest/gtest.h>

#include "DatabaseFixture.h"
#include "context/Errors.h"
#include "context/Query.h"
#include "context/SqlNames.h"
#include "context/Table.h"

namespace tarno::test {
namespace {

using db::Query;
using db::Table;

const QString kPassword = QStringLiteral("s3cret");

class EncryptionTest : public DatabaseTest {
 protected:
  void SetUp() override {}  // each test connects with the file name of its connection kind
  void Build(const QString& fileName) {
    Connect(fileName);
    RunSql(m_connection, "CREATE TABLE P_HTRX (EMPCODE CHAR(10), PERIOD CHAR(6), BASIC NUMERIC(12,2))");
    RunSql(m_connection, "INSERT INTO P_HTRX VALUES ('E001', '202401', 1000)");
    RunSql(m_connection, "CREATE TABLE EMPLOYEE (EMPCODE CHAR(10), NAME CHAR(30))");
    RunSql(m_connection, "INSERT INTO EMPLOYEE VALUES ('E001', 'Tan')");
    RunSql(m_connection, "CREATE TABLE RPTRX (EMPCODE CHAR(10), AMOUNT NUMERIC(12,2))");
    m_connection.MarkTableEncrypted("P_HTRX.ADT", kPassword);
    m_connection.MarkTableEncrypted("rptrx", kPassword);
  }
  static QString ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const DatabaseError& error) {
      return error.Text();
    }
    return QString();
  }
};

TEST_F(EncryptionTest, MetadataListsTablesUpperCaseWithTheirPasswordHash) {
  Build("company.db");
  // Lower-case hex SHA-256 of the password, as the demo company writes it too.
  EXPECT_EQ(SqlValue(m_connection, "SELECT PASSWORD_HASH FROM TARNO_ENCRYPTION WHERE TABLE_NAME = 'P_HTRX'")
                .toString(),
            "1ec1c26b50d5d3c58d9583181af8076655fe00756bf7285940ba3670f99fcba0");
  EXPECT_TRUE(m_connection.IsEncryptedTable("p_htrx"));
  EXPECT_TRUE(m_connection.IsEncryptedTable("RPTRX.ADT"));
  EXPECT_FALSE(m_connection.IsEncryptedTable("EMPLOYEE"));
}

TEST_F(EncryptionTest, ADatabaseWithoutTheMetadataHasNoEncryptedTables) {
  Connect("plain.db");
  RunSql(m_connection, "CREATE TABLE P_HTRX (EMPCODE CHAR(10))");
  RunSql(m_connection, "INSERT INTO P_HTRX VALUES ('E001')");
  EXPECT_FALSE(m_connection.IsEncryptedTable("P_HTRX"));
  Table table(m_connection, "P_HTRX.ADT");
  table.Open();
  table.EnableEncryption("anything");  // callers on free tables always give it
  EXPECT_EQ(table.FieldAsString("EMPCODE"), "E001");
}

TEST_F(EncryptionTest, FreeTableNeedsThePasswordBeforeAnyRecordIsReadOrWritten) {
  Build("company.db");
  Table table(m_connection, "P_HTRX.ADT");
  table.SetIndexFieldNames("EMPCODE");
  table.Open();  // opening is allowed
  const QString expected = "Table P_HTRX is encrypted: give the table password before reading it.";
  EXPECT_EQ(ErrorOf([&] { table.FieldAsString("EMPCODE"); }), expected);
  EXPECT_EQ(ErrorOf([&] { table.FindKey({"E001"}); }), expected);
  EXPECT_EQ(ErrorOf([&] { table.Append(); }), expected);
  EXPECT_EQ(ErrorOf([&] { table.Edit(); }), expected);
  EXPECT_TRUE(ErrorOf([&] { table.EnableEncryption("wrong"); }).contains("P_HTRX"));
  EXPECT_EQ(ErrorOf([&] { table.FieldAsString("EMPCODE"); }), expected) << "a wrong password unlocked it";
  table.EnableEncryption(kPassword);
  EXPECT_EQ(table.FieldAsString("EMPCODE"), "E001");
  // Each open asks again.
  table.Close();
  table.Open();
  EXPECT_EQ(ErrorOf([&] { table.FieldAsString("EMPCODE"); }), expected);
}

TEST_F(EncryptionTest, DictionaryNeedsNoPasswordAndAcceptsOneSilently) {
  Build("company.add");
  ASSERT_TRUE(m_connection.IsDictionary());
  Table table(m_connection, "P_HTRX.ADT");
  table.Open();
  EXPECT_EQ(table.FieldAsString("EMPCODE"), "E001");
  table.EnableEncryption("whatever");
  Query query(m_connection);
  query.SetSQL({"SELECT * FROM P_HTRX,EMPLOYEE"});
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  query.Close();
  query.SetTablePassword("P_HTRX", "whatever");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
}

TEST_F(EncryptionTest, FreeTableStatementsNeedAPasswordForEachEncryptedTableTheyName) {
  Build("company.db");
  struct Case {
    const char* sql;
    const char* missing;  // the encrypted table without password named in the error, "" == runs
    bool exec;
  };
  // Passwords given for nothing: every statement that touches P_HTRX or RPTRX fails.
  const Case cases[] = {
      {"SELECT * FROM EMPLOYEE", "", false},
      {"select a.EMPCODE from p_htrx a", "P_HTRX", false},
      {"SELECT * FROM EMPLOYEE,P_HTRX,EMPSERV", "P_HTRX", false},
      {"SELECT * FROM EMPLOYEE e INNER JOIN P_HTRX.ADT h ON h.EMPCODE = e.EMPCODE", "P_HTRX", false},
      {"SELECT * FROM EMPLOYEE WHERE NAME = 'from P_HTRX'", "", false},
      {"delete from rptrx", "RPTRX", true},
      {"UPDATE rptrx SET AMOUNT = 0", "RPTRX", true},
      {"INSERT INTO RPTRX (EMPCODE) SELECT EMPCODE FROM EMPLOYEE", "RPTRX", true},
  };
  for (const Case& c : cases) {
    Query query(m_connection);
    query.AddLine(c.sql);
    const QString error = ErrorOf([&] { c.exec ? query.ExecSQL() : query.Open(); });
    if (*c.missing == 0) {
      EXPECT_TRUE(error.isEmpty()) << c.sql << ": " << error.toStdString();
    } else {
      EXPECT_TRUE(error.contains(c.missing) && error.contains("encrypted"))
          << c.sql << ": " << error.toStdString();
    }
  }
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 0) << "a refused statement ran";
}

TEST_F(EncryptionTest, PasswordsSetOnAQueryStayForLaterTexts) {
  Build("company.db");
  Query query(m_connection);
  query.SetTablePassword("P_HTRX", "wrong");
  query.SetSQL({"SELECT * FROM P_HTRX"});
  EXPECT_TRUE(ErrorOf([&] { query.Open(); }).contains("P_HTRX"));
  query.SetTablePassword("P_HTRX", kPassword);
  query.Open();
  EXPECT_EQ(query.FieldAsInteger("BASIC"), 1000);
  query.Close();
  query.SetSQL({"SELECT EMPCODE FROM P_HTRX, RPTRX"});
  EXPECT_TRUE(ErrorOf([&] { query.Open(); }).contains("RPTRX"));
  query.SetTablePassword("RPTRX.ADT", kPassword);
  query.SetSQL({"INSERT INTO RPTRX (EMPCODE, AMOUNT) SELECT EMPCODE, BASIC FROM P_HTRX"});
  query.ExecSQL();
  EXPECT_EQ(query.RowsAffected(), 1);
}

TEST(SqlNames, TablesAStatementNames) {
  struct Case {
    const char* sql;
    QStringList tables;
  };
  const Case cases[] = {
      {"select * from P_HTRX,EMPLOYEE,EMPSERV where 1=1", {"P_HTRX", "EMPLOYEE", "EMPSERV"}},
      {"SELECT * FROM P_HTRX h, EMPLOYEE AS e WHERE h.EMPCODE = e.EMPCODE", {"P_HTRX", "EMPLOYEE"}},
      {"select * from rptrx r left outer join \"EMPLOYEE\" e on r.EMPCODE = e.EMPCODE",
       {"RPTRX", "EMPLOYEE"}},
      {"SELECT SUM(AMOUNT) FROM p_dtrxND WHERE PERIOD = :PERIOD", {"P_DTRXND"}},
      {"DELETE FROM P_HIST1 WHERE USERID = :U", {"P_HIST1"}},
      {"UPDATE ALLOWNCE SET PAYCODE2 = 'X'", {"ALLOWNCE"}},
      {"INSERT INTO RP_HTRX (EMPCODE) SELECT EMPCODE FROM EMPSERV", {"RP_HTRX", "EMPSERV"}},
      {"SELECT * FROM (SELECT * FROM RPTRX) x", {"RPTRX"}},
      {"SELECT 'FROM P_HTRX' -- FROM EMPLOYEE\n FROM CUSTOM", {"CUSTOM"}},
  };
  for (const Case& c : cases) EXPECT_EQ(db::detail::TablesNamedInStatement(c.sql), c.tables) << c.sql;
  EXPECT_EQ(
      db::detail::PlaceholdersInStatement("SELECT ':X' FROM T WHERE A = :YEAR AND B = :year OR C = :P2"),
      QStringList({"YEAR", "year", "P2"}));
}

}  // namespace
}  // namespace tarno::test
