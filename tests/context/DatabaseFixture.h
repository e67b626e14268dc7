// A small SQLite company for the dataset tests: a fresh database file per test, connected, with
// helpers to create tables and run plain SQL beside the layer.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "common/TestSupport.h"
#include "context/Connection.h"

namespace tarno::test {

// A file that exists, so that connecting to it is allowed.
inline QString NewDatabaseFile(const QString& folder, const QString& fileName) {
  const QString path = ScratchFolder(folder) + QStringLiteral("/") + fileName;
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  return path;
}

inline void RunSql(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
}

inline QVariant SqlValue(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  if (!query.exec(sql) || !query.next())
    return QVariant(QStringLiteral("<no row: %1>").arg(query.lastError().text()));
  return query.value(0);
}

class DatabaseTest : public ::testing::Test {
 protected:
  // fileName decides the kind: a name with ".add" is a dictionary connection.
  void Connect(const QString& fileName = QStringLiteral("company.db")) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = NewDatabaseFile(
        QString::fromLatin1(info->test_suite_name()) + QLatin1Char('_') + QString::fromLatin1(info->name()),
        fileName);
    m_connection.SetConnectPath(m_path);
    m_connection.SetConnected(true);
  }
  void SetUp() override { Connect(); }

  // RPTRX-like table: text keys, a number, a text period.
  void CreateReportTable() {
    RunSql(m_connection,
           "CREATE TABLE RPTRX (EMPCODE CHAR(10), PAYCODE CHAR(10), PERIOD CHAR(6), AMOUNT NUMERIC(14,4), "
           "DESCRIPT CHAR(30), TRXDATE DATE, CYCLE CHAR(1) DEFAULT 'E')");
    RunSql(m_connection,
           "INSERT INTO RPTRX (EMPCODE, PAYCODE, PERIOD, AMOUNT, DESCRIPT, TRXDATE) VALUES "
           "('E002', 'BASIC', '202402', 2000, 'Basic pay   ', '2024-02-29'),"
           "('E001', 'BASIC', '202401', 1500.25, 'Basic pay', '2024-01-31'),"
           "('E001', 'BASIC', '202402', 1500.25, 'Basic pay', '2024-02-29'),"
           "('E003', 'OT', '202401', 120.5, 'Overtime  ', '2024-01-31'),"
           "('E001', 'CPFEE', '202401', 300, 'CPF employee', NULL)");
  }

  QString m_path;
  db::Connection m_connection;
};

}  // namespace tarno::test
