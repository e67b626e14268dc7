// The connection: connect path rules, the dictionary test, table names, nesting transactions.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "DatabaseFixture.h"
#include "context/Errors.h"
#include "context/Table.h"

namespace tarno::test {
namespace {

using db::Connection;

TEST(Connection, AMissingDatabaseIsNamedAndNotCreated) {
  const QString path = ScratchFolder("missing") + "/nothere/company.db";
  Connection connection;
  connection.SetConnectPath(path);
  try {
    connection.SetConnected(true);
    FAIL() << "connected to a missing file";
  } catch (const DatabaseError& error) {
    EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
  }
  EXPECT_FALSE(connection.IsConnected());
  EXPECT_FALSE(QFileInfo::exists(path));
  connection.SetConnectPath("");
  EXPECT_THROW(connection.SetConnected(true), DatabaseError);
}

TEST(Connection, DictionaryTestAndTableNames) {
  struct Case {
    const char* path;
    bool dictionary;
  };
  const Case cases[] = {{"company.add", true},       {"C:\\DATA\\ACME.ADD", true}, {"/data/acme.db", false},
                        {"/data/acme.Add.db", true}, {"/data/ADDRESS", false},     {"", false}};
  for (const Case& c : cases) {
    Connection connection;
    connection.SetConnectPath(c.path);
    EXPECT_EQ(connection.IsDictionary(), c.dictionary) << c.path;
  }
  const std::pair<const char*, const char*> names[] = {{"RPTRX.ADT", "RPTRX"},
                                                       {"ALLOWNCE.adt", "ALLOWNCE"},
                                                       {"P_HTRX", "P_HTRX"},
                                                       {" EMPSERV.ADT ", "EMPSERV"}};
  for (const auto& [given, expected] : names)
    EXPECT_EQ(db::TableNameWithoutExtension(given), expected) << given;
}

TEST(Connection, TwoConnectionsLiveSideBySide) {
  Connection first;
  Connection second;
  first.SetConnectPath(NewDatabaseFile("side_a", "a.db"));
  second.SetConnectPath(NewDatabaseFile("side_b", "b.db"));
  first.SetConnected(true);
  second.SetConnected(true);
  EXPECT_NE(first.Database().connectionName(), second.Database().connectionName());
  RunSql(first, "CREATE TABLE ONLYA (X INTEGER)");
  EXPECT_TRUE(first.HasTable("onlya.adt"));
  EXPECT_FALSE(second.HasTable("ONLYA"));
  EXPECT_THROW(first.SetConnectPath("other.db"), DatabaseError);
  first.SetConnected(false);
  EXPECT_FALSE(first.IsConnected());
  EXPECT_THROW(first.Database(), DatabaseError);
}

class TransactionTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    CreateReportTable();
    m_reader.SetConnectPath(m_path);
    m_reader.SetConnected(true);
  }
  // What another connection sees: only committed rows.
  int CommittedRows() { return SqlValue(m_reader, "SELECT COUNT(*) FROM RPTRX").toInt(); }
  void AppendRow(db::Table& table, const QString& employee) {
    table.Append();
    table.SetFieldString("EMPCODE", employee);
    table.SetFieldFloat("AMOUNT", 1);
    table.Post();
  }
  Connection m_reader;
};

TEST_F(TransactionTest, PostsInsideATransactionWaitForTheOutermostCommit) {
  db::Table table(m_connection, "RPTRX");
  table.Open();
  m_connection.BeginTransaction();
  AppendRow(table, "T1");
  m_connection.BeginTransaction();
  AppendRow(table, "T2");
  EXPECT_EQ(CommittedRows(), 5) << "a post committed by itself";
  m_connection.CommitTransaction();
  EXPECT_TRUE(m_connection.InTransaction());
  EXPECT_EQ(CommittedRows(), 5) << "the inner commit committed";
  m_connection.CommitTransaction();
  EXPECT_FALSE(m_connection.InTransaction());
  EXPECT_EQ(CommittedRows(), 7);
  EXPECT_THROW(m_connection.CommitTransaction(), DatabaseError);
  // Outside a transaction each post stands on its own.
  AppendRow(table, "T3");
  EXPECT_EQ(CommittedRows(), 8);
}

TEST_F(TransactionTest, ScopeCommitsAlsoWhenAnErrorLeavesIt) {
  db::Table table(m_connection, "RPTRX");
  table.Open();
  try {
    db::TransactionScope scope(m_connection);
    AppendRow(table, "T1");
    table.FieldAsFloat("NOFIELD");
  } catch (const DatabaseError&) {
  }
  EXPECT_FALSE(m_connection.InTransaction());
  EXPECT_EQ(CommittedRows(), 6) << "what was written before the error stays";
}

}  // namespace
}  // namespace tarno::test
