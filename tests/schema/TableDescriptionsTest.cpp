// The table descriptions: their internal consistency, the column layouts other subsystems rely on,
// and the DDL run against a fresh SQLite database.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/Errors.h"
#include "schema/TableDescriptions.h"

namespace tarno::schema {
namespace {

const QString kPassword = QStringLiteral("KALMO8462");

struct ExpectedColumn {
  int position;  // 0-based
  const char* name;
  ColumnType type;
  int width;
};

void ExpectColumns(const TableDescription& table, const std::vector<ExpectedColumn>& expected) {
  for (const ExpectedColumn& e : expected) {
    SCOPED_TRACE(QStringLiteral("%1 column %2").arg(table.name).arg(e.position).toStdString());
    ASSERT_LT(e.position, table.columns.size());
    const ColumnDescription& column = table.columns.at(e.position);
    EXPECT_EQ(column.name.toStdString(), e.name);
    EXPECT_EQ(column.type, e.type);
    EXPECT_EQ(column.width, e.width);
  }
}

TEST(TableDescriptions, EveryTableIsConsistent) {
  QSet<QString> names;
  for (const TableDescription& table : AllTables()) {
    SCOPED_TRACE(table.name.toStdString());
    EXPECT_FALSE(names.contains(table.name)) << "table described twice";
    names.insert(table.name);
    EXPECT_EQ(table.name, table.name.toUpper());
    ASSERT_FALSE(table.columns.isEmpty());
    QSet<QString> columns;
    for (const ColumnDescription& column : table.columns) {
      EXPECT_FALSE(columns.contains(column.name.toUpper()))
          << "duplicate column " << column.name.toStdString();
      columns.insert(column.name.toUpper());
      if (column.type == ColumnType::Char)
        EXPECT_GT(column.width, 0) << column.name.toStdString();
      else
        EXPECT_EQ(column.width, 0) << column.name.toStdString();
    }
    QSet<QString> indexNames;
    for (const IndexDescription& index : table.indexes) {
      EXPECT_FALSE(indexNames.contains(index.name)) << "duplicate index " << index.name.toStdString();
      indexNames.insert(index.name);
      ASSERT_FALSE(index.fields.isEmpty());
      for (const QString& field : index.fields)
        EXPECT_NE(table.Column(field), nullptr)
            << "index " << index.name.toStdString() << " names missing column " << field.toStdString();
    }
  }
  const QStringList expected = {"RPTRX",    "EXCELMAP", "ALLOWNCE", "RP_HTRX",  "P_HIST1",  "PAYPARA1",
                                "CUSTOM",   "P_HTRX",   "EMPLOYEE", "EMPSERV",  "EMPMISC",  "P_DTRXAW",
                                "P_DTRXOT", "P_DTRXSF", "P_DTRXND", "P_DTRXAS", "P_DTRXNH", "P_DTRXRD",
                                "YTDEMPL",  "PPARA_SF", "COSTCTR",  "CODE",     "EXRATE",   "RBFIELD"};
  EXPECT_EQ(names, QSet<QString>(expected.begin(), expected.end()));
}

TEST(TableDescriptions, EncryptedTablesAreExactlyTheProtectedOnes) {
  const QStringList encrypted = {"PAYPARA1", "RBFIELD",  "P_HTRX",   "RPTRX",    "EMPLOYEE", "EMPSERV",
                                 "RP_HTRX",  "EMPMISC",  "P_DTRXAW", "P_DTRXOT", "P_DTRXSF", "P_DTRXND",
                                 "P_DTRXAS", "P_DTRXNH", "P_DTRXRD", "YTDEMPL",  "P_HIST1"};
  for (const TableDescription& table : AllTables())
    EXPECT_EQ(table.encrypted, encrypted.contains(table.name)) << table.name.toStdString();
}

TEST(TableDescriptions, RpHtrxHasItsColumnsInOrder) {
  const TableDescription& t = DescribeTable("RP_HTRX");
  ASSERT_EQ(t.columns.size(), 343);
  const auto C = ColumnType::Char;
  const auto M = ColumnType::Currency;
  const auto D = ColumnType::Double;
  ExpectColumns(t, {{0, "PERIOD", C, 6},          {1, "CYCLE", C, 1},         {2, "EMPCODE", C, 12},
                    {3, "PAYDAY", M, 0},          {31, "BASICNVC", M, 0},     {32, "DEPARTMENT", C, 8},
                    {37, "JOB_GRADE", C, 8},      {38, "FIELD_NO1", M, 0},    {237, "FIELD_NO200", M, 0},
                    {238, "NPL_DAY_C", M, 0},     {244, "OT_HRS1", M, 0},     {251, "OT_HRS8", M, 0},
                    {252, "SHIFT1", M, 0},        {261, "SHIFT10", M, 0},     {262, "RESTDAY05", M, 0},
                    {265, "OT_RATE1", M, 0},      {273, "OT_AMT1", M, 0},     {281, "SHIFTAMT1", M, 0},
                    {290, "SHIFTAMT10", M, 0},    {291, "RESTAMT05", M, 0},   {294, "CPFOWWAGE", M, 0},
                    {296, "AWWAGE_EARNED", M, 0}, {297, "GRPNUM1", M, 0},     {311, "GRPNUM15", M, 0},
                    {312, "VOLCPFEE", M, 0},      {313, "VOLCPFER", M, 0},    {314, "GRPNUM16", M, 0},
                    {333, "GRPNUM35", M, 0},      {334, "TOTAL_GROSS", M, 0}, {335, "BONUS_CFPEE", D, 0},
                    {342, "GP_OVERTIME", D, 0}});
  for (int n = 1; n <= 200; ++n) EXPECT_EQ(t.columns.at(37 + n).name, QStringLiteral("FIELD_NO%1").arg(n));
}

TEST(TableDescriptions, RptrxLayout) {
  const auto C = ColumnType::Char;
  const auto M = ColumnType::Currency;
  const TableDescription& t = DescribeTable("RPTRX");
  ASSERT_EQ(t.columns.size(), 18);
  ExpectColumns(t, {{0, "EMPCODE", C, 12},
                    {1, "PERIOD", C, 6},
                    {2, "CYCLE", C, 1},
                    {3, "PAYCODE", C, 16},
                    {4, "DAYS", M, 0},
                    {5, "HOURS", M, 0},
                    {6, "AMOUNT", M, 0},
                    {7, "AMOUNT_ER", M, 0},
                    {8, "TRX_TYPE", C, 1},
                    {9, "RATE", M, 0},
                    {10, "WAGE_TYPE", C, 1},
                    {11, "DEPT_CODE", C, 8},
                    {12, "COSTCENTRE_CODE", C, 8},
                    {13, "COMP_CODE", C, 8},
                    {14, "SECT_CODE", C, 8},
                    {15, "CATE_CODE", C, 8},
                    {16, "DESCRIPTION", C, 40},
                    {17, "YTDAMOUNT", M, 0}});
}

// Statements of the module name some columns without their table; among the tables a statement
// joins, such a column must belong to exactly one, or the database rejects it as ambiguous.
TEST(TableDescriptions, UnqualifiedColumnsOfJoinedStatementsAreUnambiguous) {
  struct JoinCase {
    QStringList tables;
    QStringList unqualified;
  };
  const std::vector<JoinCase> cases = {
      {{"P_HTRX", "EMPLOYEE", "EMPSERV"}, {"CYCLE", "FCURR_CODE"}},
      {{"EMPLOYEE", "RPTRX", "EMPSERV"},
       {"EMP_NAME", "LOCATION_CODE", "HIRED_DATE", "TERMINATION_DATE", "TERMINATION_STATUS", "PASSPORT_NO",
        "DOB", "DESCRIPTION", "PERIOD", "AMOUNT", "PAYCODE", "YTDAMOUNT", "INCOME_TAX_AC_NO", "DEPT_CODE",
        "COSTCENTRE_CODE"}},
      {{"EMPLOYEE", "RP_HTRX"}, {"EMP_NO", "EMP_NAME"}},
      {{"P_DTRXAW", "ALLOWNCE"}, {"ALLOW_CODE", "ALLW_DED_CODE", "IS_FUND", "DESC", "YEAR", "PERIOD"}},
  };
  for (const JoinCase& c : cases) {
    for (const QString& column : c.unqualified) {
      int owners = 0;
      for (const QString& table : c.tables)
        if (DescribeTable(table).Column(column)) ++owners;
      EXPECT_EQ(owners, 1) << column.toStdString() << " among " << c.tables.join(',').toStdString();
    }
  }
}

TEST(TableDescriptions, LookupByNameIgnoresCaseAndExtension) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"RPTRX", "RPTRX"},         {"rptrx.adt", "RPTRX"},   {"ALLOWNCE.adt", "ALLOWNCE"},
      {"rbField.ADT", "RBFIELD"}, {"p_dtrxRD", "P_DTRXRD"}, {"COSTCTR", "COSTCTR"}};
  for (const auto& [asked, expected] : cases)
    EXPECT_EQ(DescribeTable(asked).name, expected) << asked.toStdString();
  EXPECT_THROW(DescribeTable("NOSUCHTABLE"), Error);
  EXPECT_THROW(DescribeTable(""), Error);
  EXPECT_NE(DescribeTable("EMPLOYEE").Column("fcurr_code"), nullptr);
  EXPECT_EQ(DescribeTable("EMPLOYEE").Column("NO_SUCH"), nullptr);
}

TEST(TableDescriptions, DdlQuotesIdentifiersAndMapsTypes) {
  const QString sql = CreateTableSql(DescribeTable("ALLOWNCE"));
  EXPECT_TRUE(
      sql.startsWith(QStringLiteral("CREATE TABLE \"ALLOWNCE\" (\"ALLOW_CODE\" CHAR(8), \"YEAR\" INTEGER, "
                                    "\"DESC\" CHAR(30)")))
      << sql.toStdString();
  const std::vector<std::pair<ColumnDescription, QString>> types = {
      {{"A", ColumnType::Char, 12}, "CHAR(12)"},
      {{"A", ColumnType::Currency}, "NUMERIC(19,4)"},
      {{"A", ColumnType::Number}, "NUMERIC(19,4)"},
      {{"A", ColumnType::Double}, "DOUBLE PRECISION"},
      {{"A", ColumnType::Integer}, "INTEGER"},
      {{"A", ColumnType::Date}, "DATE"},
      {{"A", ColumnType::Memo}, "TEXT"}};
  for (const auto& [column, expected] : types) EXPECT_EQ(SqlType(column), expected);
  const QStringList indexes = CreateIndexSql(DescribeTable("CODE"));
  EXPECT_TRUE(indexes.contains(
      QStringLiteral("CREATE UNIQUE INDEX \"CODE_PRIMARY\" ON \"CODE\" (\"CODE\", \"CATEGORY\")")));
  EXPECT_TRUE(indexes.contains(
      QStringLiteral("CREATE INDEX \"CODE_BY_CATEGORY\" ON \"CODE\" (\"CATEGORY\", \"CODE\")")));
}

class CreatedDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    m_file = test::ScratchFolder(
                 QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name())) +
             QStringLiteral("/company.db");
    QFile file(m_file);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    m_connection.SetConnectPath(m_file);
    m_connection.SetConnected(true);
    CreateAllTables(m_connection, kPassword);
  }
  QString m_file;
  db::Connection m_connection;
};

TEST_F(CreatedDatabase, EveryTableExistsWithItsColumnsInOrder) {
  for (const TableDescription& table : AllTables()) {
    SCOPED_TRACE(table.name.toStdString());
    ASSERT_TRUE(m_connection.HasTable(table.name));
    const QSqlRecord record = m_connection.Database().record(table.name);
    ASSERT_EQ(record.count(), table.columns.size());
    for (int i = 0; i < record.count(); ++i) EXPECT_EQ(record.fieldName(i), table.columns.at(i).name);
    EXPECT_EQ(m_connection.IsEncryptedTable(table.name), table.encrypted);
  }
}

TEST_F(CreatedDatabase, EncryptionListHoldsThePasswordHash) {
  QSqlQuery query(m_connection.Database());
  ASSERT_TRUE(
      query.exec("SELECT TABLE_NAME, PASSWORD_HASH FROM TARNO_ENCRYPTION WHERE TABLE_NAME = 'RP_HTRX'"));
  ASSERT_TRUE(query.next());
  EXPECT_EQ(query.value(1).toString(),
            QString::fromLatin1(QCryptographicHash::hash("KALMO8462", QCryptographicHash::Sha256).toHex()));
  EXPECT_NO_THROW(m_connection.CheckTablePassword("RP_HTRX", kPassword));
  EXPECT_THROW(m_connection.CheckTablePassword("RP_HTRX", "WRONG0000"), DatabaseError);
}

TEST_F(CreatedDatabase, UniqueIndexesRejectDuplicateKeys) {
  QSqlQuery query(m_connection.Database());
  const QString insert = QStringLiteral(
      "INSERT INTO \"P_HTRX\" (\"PERIOD\", \"CYCLE\", \"EMPCODE\") VALUES ('202501','E','E001')");
  ASSERT_TRUE(query.exec(insert));
  EXPECT_FALSE(query.exec(insert));
  // Reserved words as column names work once quoted.
  ASSERT_TRUE(query.exec(
      "INSERT INTO \"ALLOWNCE\" (\"ALLOW_CODE\", \"YEAR\", \"DESC\") VALUES ('TRANS', 2025, 'TRANSPORT')"));
  ASSERT_TRUE(query.exec("SELECT \"DESC\" FROM ALLOWNCE WHERE \"YEAR\" = '2025'"));
  ASSERT_TRUE(query.next());
  EXPECT_EQ(query.value(0).toString(), QStringLiteral("TRANSPORT"));
}

TEST_F(CreatedDatabase, CreatingATableTwiceFailsWithItsName) {
  try {
    CreateTable(m_connection, DescribeTable("CODE"), kPassword);
    FAIL() << "no error";
  } catch (const DatabaseError& e) {
    EXPECT_TRUE(e.Text().contains(QStringLiteral("CODE"))) << e.Text().toStdString();
  }
}

}  // namespace
}  // namespace tarno::schema
