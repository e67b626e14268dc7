// A small company database for the entry, dialog and batch tests: every payroll table created
// empty (encrypted ones marked with the table password), PAYPARA1 with a first year and the
// payroll year, optionally the "OTCOMP" switch, and one leftover RPTRX row to see it emptied.
#pragma once

#include <QFile>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/DataModule.h"
#include "context/Errors.h"
#include "schema/TableDescriptions.h"

namespace tarno::test {

struct CompanyOptions {
  QString fileName = QStringLiteral("company.db");  // ".add" in the name: a dictionary connection
  int payYear = 2024;
  QString dateFormat = QStringLiteral("DD/MM/YYYY");  // G_DATEFORMAT of the payroll year
  bool payYearRow = true;                             // false: PAYPARA1 lacks the payroll year
  bool otcomp = false;                                // the CUSTOM switch
  QStringList dropTables;                             // tables removed after creation
};

inline void ExecOrThrow(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  if (!query.exec(sql)) throw Error(QStringLiteral("Fixture statement failed: %1").arg(sql));
}

// Creates the database in a fresh scratch folder and returns its path.
inline QString MakeCompanyDatabase(const QString& folderName, const CompanyOptions& options = {}) {
  const QString path = ScratchFolder(folderName) + u'/' + options.fileName;
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.close();
  db::Connection connection;
  connection.SetConnectPath(path);
  connection.SetConnected(true);
  schema::CreateAllTables(connection, TDataModule1::GetTablePassword());
  // The first record is another year, so that a missing payroll year shows whose COMPANY is used.
  ExecOrThrow(
      connection,
      "INSERT INTO PAYPARA1 (\"YEAR\", COMPANY, G_DATEFORMAT) VALUES ('2001', 'First Record Pte Ltd', "
      "'MM/DD/YYYY')");
  if (options.payYearRow)
    ExecOrThrow(connection,
                QStringLiteral("INSERT INTO PAYPARA1 (\"YEAR\", COMPANY, G_DATEFORMAT) VALUES ('%1', "
                               "'Acme Payroll Pte Ltd', '%2')")
                    .arg(options.payYear)
                    .arg(options.dateFormat));
  ExecOrThrow(connection, "INSERT INTO CUSTOM (ID, PARAMETER) VALUES (1, 'GSTREG')");
  if (options.otcomp) ExecOrThrow(connection, "INSERT INTO CUSTOM (ID, PARAMETER) VALUES (2, 'OTCOMP')");
  ExecOrThrow(connection,
              "INSERT INTO RPTRX (EMPCODE, PERIOD, CYCLE, PAYCODE, AMOUNT) VALUES ('E001', '202401', 'E', "
              "'BASIC', 100)");
  for (const QString& table : options.dropTables)
    ExecOrThrow(connection, QStringLiteral("DROP TABLE %1").arg(table));
  connection.SetConnected(false);
  return path;
}

// The number of rows of a table, read without the module's layer.
inline int CountRows(const QString& path, const QString& table) {
  db::Connection connection;
  connection.SetConnectPath(path);
  connection.SetConnected(true);
  int count = -1;
  {
    QSqlQuery query(connection.Database());
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && query.next())
      count = query.value(0).toInt();
  }
  connection.SetConnected(false);
  if (count < 0) throw Error(QStringLiteral("Cannot count the rows of %1.").arg(table));
  return count;
}

}  // namespace tarno::test
