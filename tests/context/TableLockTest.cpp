// Table locks: a table open anywhere, by another connection of this process or by another
// process, refuses exclusive use; a table open for exclusive use refuses every other open.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>

#include "DatabaseFixture.h"
#include "context/Errors.h"
#include "context/Table.h"

namespace tarno::test {
namespace {

using db::Table;

const QString kExclusiveRefused = "Table RPTRX cannot be opened for exclusive use: it is open elsewhere.";

class TableLockTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    CreateReportTable();
    m_other.SetConnectPath(m_path);
    m_other.SetConnected(true);
  }
  static QString OpenError(Table& table) {
    try {
      table.Open();
    } catch (const DatabaseError& error) {
      return error.Text();
    }
    return QString();
  }
  db::Connection m_other;
};

TEST_F(TableLockTest, ExclusiveUseIsRefusedWhileAnotherConnectionHasTheTableOpen) {
  Table shared(m_connection, "RPTRX.ADT");
  shared.Open();
  Table exclusive(m_other, "RPTRX");
  exclusive.SetExclusive(true);
  EXPECT_EQ(OpenError(exclusive), kExclusiveRefused);
  EXPECT_FALSE(exclusive.IsOpen());
  Table alsoShared(m_other, "RPTRX");
  EXPECT_EQ(OpenError(alsoShared), "") << "shared opens live side by side";
  alsoShared.Close();
  shared.Close();
  EXPECT_EQ(OpenError(exclusive), "");
  // Now every other open is refused, until the exclusive holder closes.
  EXPECT_TRUE(OpenError(shared).contains("RPTRX"));
  EXPECT_FALSE(shared.IsOpen());
  Table otherTable(m_connection, "RPTRX");
  otherTable.SetExclusive(true);
  EXPECT_EQ(OpenError(otherTable), kExclusiveRefused);
  exclusive.Close();
  EXPECT_EQ(OpenError(shared), "");
  EXPECT_TRUE(QFileInfo::exists(m_connection.LockDirectory() + "/RPTRX.lock"));
}

TEST_F(TableLockTest, ExclusiveUseIsRefusedWhileAnotherProcessHasTheTableOpen) {
  int ready[2];
  int release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other process: its own connection holds the table open until told to stop.
    close(ready[0]);
    close(release[1]);
    int status = 1;
    try {
      db::Connection connection;
      connection.SetConnectPath(m_path);
      connection.SetConnected(true);
      Table table(connection, "RPTRX");
      table.Open();
      status = write(ready[1], "o", 1) == 1 ? 0 : 1;
      char byte;
      if (read(release[0], &byte, 1) < 0) status = 1;
    } catch (...) {
      status = 2;
    }
    _exit(status);
  }
  close(ready[1]);
  close(release[0]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the other process did not open the table";
  Table exclusive(m_connection, "RPTRX");
  exclusive.SetExclusive(true);
  EXPECT_EQ(OpenError(exclusive), kExclusiveRefused);
  close(release[1]);
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(OpenError(exclusive), "") << "the lock outlived the other process's table";
  close(ready[0]);
}

TEST_F(TableLockTest, EmptyAndPackNeedExclusiveUse) {
  Table table(m_connection, "RPTRX");
  table.SetIndexFieldNames("EMPCODE");
  table.Open();
  EXPECT_THROW(table.EmptyTable(), DatabaseError);
  EXPECT_THROW(table.PackTable(), DatabaseError);
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 5);
  table.Close();
  table.SetExclusive(true);
  table.Open();
  table.EmptyTable();
  table.PackTable();
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(SqlValue(m_connection, "SELECT COUNT(*) FROM RPTRX").toInt(), 0);
  // The emptied table takes new records as usual.
  table.Append();
  table.SetFieldString("EMPCODE", "E100");
  table.Post();
  EXPECT_EQ(table.RecordCount(), 1);
}

}  // namespace
}  // namespace tarno::test
