// QueryRPT over a small RPTRX: the statement, the period chosen, the grouping by cost centre and
// the cost-centre headings from CODE.
#include <gtest/gtest.h>

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/Errors.h"
#include "context/Query.h"
#include "context/Table.h"
#include "costing/CostingQuery.h"

namespace tarno::costing {
namespace {

class CostingQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString path = test::ScratchFolder(QString::fromLatin1(
                             ::testing::UnitTest::GetInstance()->current_test_info()->name())) +
                         QStringLiteral("/payroll.db");
    {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    m_connection.SetConnectPath(path);
    m_connection.SetConnected(true);
    Exec(QStringLiteral(
        "CREATE TABLE RPTRX (EMPCODE CHAR(12), PERIOD CHAR(6), CYCLE CHAR(1), PAYCODE CHAR(16), "
        "AMOUNT NUMERIC, COSTCENTRE_CODE CHAR(8), DEPT_CODE CHAR(8), DESCRIPTION CHAR(40))"));
    Exec(QStringLiteral("CREATE TABLE CODE (CODE CHAR(10), CATEGORY CHAR(4), \"DESC\" CHAR(30))"));
    Exec(QStringLiteral(
        "INSERT INTO CODE VALUES ('CC01', 'CST', 'Finance'), ('CC02', 'DEP', 'Not a cost centre'), "
        "('CC03', 'CST', 'Warehouse')"));
    m_code.SetIndexFieldNames(QStringLiteral("CATEGORY;CODE"));
    m_code.Open();
  }

  void Exec(const QString& sql) {
    QSqlQuery query(m_connection.Database());
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
  }

  void AddRow(const char* emp, const char* period, const char* payCode, const char* amount,
              const char* costCentre, const char* description) {
    Exec(QStringLiteral(
             "INSERT INTO RPTRX (EMPCODE, PERIOD, CYCLE, PAYCODE, AMOUNT, COSTCENTRE_CODE, DESCRIPTION) "
             "VALUES ('%1', '%2', 'E', '%3', %4, '%5', '%6')")
             .arg(emp, period, payCode, amount, costCentre, description));
  }

  std::vector<CostingGroup> Read(const QString& period) {
    OpenCostingQuery(m_query, period);
    return ReadCostingGroups(m_query, m_code);
  }

  db::Connection m_connection;
  db::Table m_code{m_connection, QStringLiteral("CODE.ADT")};
  db::Query m_query{m_connection};
};

TEST_F(CostingQueryTest, StatementIsTheThreeLinesWithTrailingBlanks) {
  Read(QStringLiteral("202503"));
  EXPECT_EQ(
      m_query.SQL(),
      (QStringList{
          "SELECT PAYCODE,COSTCENTRE_CODE,description,SUM(AMOUNT) AS AMOUNT FROM RPTRX WHERE PERIOD=:PERIOD ",
          "GROUP BY PAYCODE,COSTCENTRE_CODE,description ", "ORDER BY COSTCENTRE_CODE,description "}));
}

TEST_F(CostingQueryTest, RowsOfThePeriodAreSummedAndGroupedByCostCentreInOrder) {
  // Several periods in RPTRX, as a range leaves them: only the chosen one is read.
  for (const char* period : {"202501", "202502", "202503"}) {
    AddRow("E1", period, "BASIC", "1000", "CC03", "1000-BASIC");
    AddRow("E2", period, "BASIC", "234567.5", "CC03", "1000-BASIC");
  }
  AddRow("E1", "202502", "BONUS", "99", "CC01", "3000-BONUS");
  AddRow("E1", "202503", "TRANS", "-250", "CC01", "1100-TRANSPORT");
  AddRow("E1", "202503", "BASIC", "3000", "CC01", "1000-BASIC");
  // Two pay codes with the same description stay two lines.
  AddRow("E1", "202503", "OT15", "10", "CC02", "OT");
  AddRow("E2", "202503", "OT20", "20", "CC02", "OT");
  AddRow("E3", "202503", "BASIC", "5", "", "1000-BASIC");

  const std::vector<CostingGroup> groups = Read(QStringLiteral("202503"));
  ASSERT_EQ(groups.size(), 4u);
  const struct {
    const char* code;
    const char* heading;
    std::vector<std::pair<const char*, const char*>> lines;
  } expected[] = {
      {"", "", {{"1000-BASIC", "5"}}},
      {"CC01", "Finance", {{"1000-BASIC", "3000"}, {"1100-TRANSPORT", "-250"}}},
      {"CC02", "CC02", {{"OT", "10"}, {"OT", "20"}}},  // CODE has CC02 only in another category
      {"CC03", "Warehouse", {{"1000-BASIC", "235567.5"}}},
  };
  for (std::size_t g = 0; g < groups.size(); ++g) {
    EXPECT_EQ(groups[g].costCentreCode, QString::fromLatin1(expected[g].code));
    EXPECT_EQ(groups[g].heading, QString::fromLatin1(expected[g].heading));
    ASSERT_EQ(groups[g].lines.size(), expected[g].lines.size()) << expected[g].code;
    std::vector<Currency> amounts;
    for (std::size_t l = 0; l < groups[g].lines.size(); ++l) {
      EXPECT_EQ(groups[g].lines[l].description, QString::fromLatin1(expected[g].lines[l].first));
      amounts.push_back(groups[g].lines[l].amount);
    }
    // Lines of one description may come in either pay-code order; compare the amounts as a set.
    std::vector<Currency> wanted;
    for (const auto& line : expected[g].lines)
      wanted.push_back(Currency::FromString(QString::fromLatin1(line.second)));
    std::sort(amounts.begin(), amounts.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(amounts, wanted) << expected[g].code;
  }
}

TEST_F(CostingQueryTest, PeriodWithoutRowsGivesNoGroups) {
  AddRow("E1", "202502", "BASIC", "1000", "CC01", "1000-BASIC");
  EXPECT_TRUE(Read(QStringLiteral("202503")).empty());
}

TEST_F(CostingQueryTest, ErrorsOfTheQueryPropagate) {
  Exec(QStringLiteral("DROP TABLE RPTRX"));
  EXPECT_THROW(Read(QStringLiteral("202503")), DatabaseError);
}

}  // namespace
}  // namespace tarno::costing
