// Creating the demo company file: written beside its final name ("<file>.partial") in one
// transaction and renamed when complete, so a failure never leaves a half-written company under
// the requested name. Summarizing reads counts and totals back from any company file.
#include "demo/DemoCompany.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include "context/Connection.h"
#include "context/Errors.h"
#include "demo/DemoCompanyWriter.h"
#include "schema/TableDescriptions.h"

namespace tarno::demo {

namespace {

void RemoveFileAndLocks(const QString& file) {
  QFile::remove(file);
  QDir(file + QStringLiteral(".locks")).removeRecursively();
}

QSqlQuery Run(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  query.setForwardOnly(true);
  if (!query.exec(sql))
    throw DatabaseError(QStringLiteral("The company %1 cannot be summarized: \"%2\" failed: %3.")
                            .arg(connection.ConnectPath(), sql, query.lastError().text()));
  return query;
}

QVariant Single(db::Connection& connection, const QString& sql) {
  QSqlQuery query = Run(connection, sql);
  return query.next() ? query.value(0) : QVariant();
}

QString Amount(const Currency& value) {
  // Two decimals: the stored figures are whole cents.
  return QString::number(value.ToDouble(), 'f', 2);
}

}  // namespace

DemoSummary CreateDemoCompany(const QString& sqliteFile, const DemoOptions& options) {
  if (options.employees < 1 || options.employees > 100000)
    throw Error(QStringLiteral("The demo company needs 1 to 100,000 employees; %1 was asked for.")
                    .arg(options.employees));
  if (options.year < 2000 || options.year > 2099)
    throw Error(
        QStringLiteral("The demo company's payroll year must lie from 2000 to 2099; %1 was asked for.")
            .arg(options.year));
  const QFileInfo target(sqliteFile);
  if (target.exists())
    throw Error(QStringLiteral("The file %1 already exists; the demo company is written only to a new file.")
                    .arg(sqliteFile));
  if (!target.absoluteDir().exists())
    throw Error(
        QStringLiteral("The folder %1 for the demo company does not exist.").arg(target.absolutePath()));

  const QString partial = target.absoluteFilePath() + QStringLiteral(".partial");
  RemoveFileAndLocks(partial);
  {
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly))
      throw Error(
          QStringLiteral("The demo company file %1 cannot be created: %2.").arg(partial, file.errorString()));
  }
  try {
    db::Connection connection;
    connection.SetConnectPath(partial);
    connection.SetConnected(true);
    {
      db::TransactionScope transaction(connection);
      schema::CreateAllTables(connection, kDemoTablePassword);
      WriteDemoCompany(connection, options);
      transaction.Commit();
    }
    connection.SetConnected(false);
  } catch (...) {
    RemoveFileAndLocks(partial);
    throw;
  }
  QDir(partial + QStringLiteral(".locks")).removeRecursively();
  if (!QFile::rename(partial, target.absoluteFilePath())) {
    RemoveFileAndLocks(partial);
    throw Error(QStringLiteral("The demo company could not be moved into place as %1.").arg(sqliteFile));
  }
  return SummarizeDemoCompany(sqliteFile);
}

DemoSummary SummarizeDemoCompany(const QString& sqliteFile) {
  DemoSummary s;
  s.file = sqliteFile;
  db::Connection connection;
  connection.SetConnectPath(sqliteFile);
  connection.SetConnected(true);

  for (const schema::TableDescription& table : schema::AllTables())
    if (connection.HasTable(table.name))
      s.rows.insert(
          table.name,
          Single(connection, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table.name)).toLongLong());

  {
    QSqlQuery para = Run(connection, "SELECT \"YEAR\", COMPANY FROM PAYPARA1 ORDER BY \"YEAR\" DESC");
    if (para.next()) {
      s.year = para.value(0).toString().trimmed().toInt();
      s.company = para.value(1).toString().trimmed();
    }
  }
  s.employees = Single(connection, "SELECT COUNT(*) FROM EMPLOYEE").toInt();
  s.workPermits = Single(connection, "SELECT COUNT(*) FROM EMPLOYEE WHERE CATEGORY_CODE = 'WP'").toInt();
  s.joiners =
      Single(connection,
             QStringLiteral("SELECT COUNT(*) FROM EMPLOYEE WHERE HIRED_DATE >= '%1-01-01'").arg(s.year))
          .toInt();
  s.leavers = Single(connection, "SELECT COUNT(*) FROM EMPLOYEE WHERE TERMINATION_DATE IS NOT NULL").toInt();
  s.costCentreSplits = Single(connection, "SELECT COUNT(DISTINCT EMPCODE) FROM COSTCTR").toInt();
  {
    QSqlQuery users = Run(connection, "SELECT DISTINCT USERID FROM EMPSERV ORDER BY USERID");
    while (users.next()) s.users.append(users.value(0).toString().trimmed());
  }
  s.firstPeriod = Single(connection, "SELECT MIN(PERIOD) FROM P_HTRX").toString();
  s.lastPeriod = Single(connection, "SELECT MAX(PERIOD) FROM P_HTRX").toString();
  // Row by row into fixed point, so the totals are exact whatever the database's sum does.
  QSqlQuery runs = Run(connection, "SELECT GROSS_WAGE, NETT_WAGE, CPFEMPEE, CPFEMPER, SDF, FWL FROM P_HTRX");
  while (runs.next()) {
    s.gross += Currency::FromDouble(runs.value(0).toDouble());
    s.nett += Currency::FromDouble(runs.value(1).toDouble());
    s.cpfEmployee += Currency::FromDouble(runs.value(2).toDouble());
    s.cpfEmployer += Currency::FromDouble(runs.value(3).toDouble());
    s.sdl += Currency::FromDouble(runs.value(4).toDouble());
    s.fwl += Currency::FromDouble(runs.value(5).toDouble());
  }
  return s;
}

QString DemoCompanyFile(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("company.db"));
}

DemoSummary EnsureDemoCompany(const QString& folder, bool* created) {
  if (!QDir().mkpath(folder))
    throw Error(QStringLiteral("The demo folder %1 cannot be created.").arg(folder));
  const QString file = DemoCompanyFile(folder);
  const bool missing = !QFileInfo::exists(file);
  if (created) *created = missing;
  return missing ? CreateDemoCompany(file, DemoOptions()) : SummarizeDemoCompany(file);
}

QString DescribeDemo(const DemoSummary& s) {
  const auto rows = [&](const char* table) { return QLocale::c().toString(s.rows.value(table)); };
  QString text;
  text += QStringLiteral("Demo company: %1\n").arg(s.company);
  text += QStringLiteral("Database: %1\n").arg(s.file);
  text += QStringLiteral("Payroll year %1, pay runs from period %2 to %3\n")
              .arg(s.year)
              .arg(s.firstPeriod, s.lastPeriod);
  text += QStringLiteral(
              "Employees: %1 (%2 on work permits, %3 joined in %4, %5 left, %6 split across cost centres)\n")
              .arg(s.employees)
              .arg(s.workPermits)
              .arg(s.joiners)
              .arg(s.year)
              .arg(s.leavers)
              .arg(s.costCentreSplits);
  text += QStringLiteral("Host users: %1\n").arg(s.users.join(QStringLiteral(", ")));
  text += QStringLiteral(
              "Pay runs: %1; allowance and deduction lines: %2; overtime: %3; shift: %4; no-pay leave: %5 "
              "by days, %6 by hours; absence: %7; rest day: %8; wage records: %9\n")
              .arg(rows("P_HTRX"), rows("P_DTRXAW"), rows("P_DTRXOT"), rows("P_DTRXSF"), rows("P_DTRXND"),
                   rows("P_DTRXNH"), rows("P_DTRXAS"), rows("P_DTRXRD"), rows("YTDEMPL"));
  text += QStringLiteral("Gross wages %1, nett wages %2, CPF employee %3, employer %4, SDL %5, FWL %6\n")
              .arg(Amount(s.gross), Amount(s.nett), Amount(s.cpfEmployee), Amount(s.cpfEmployer),
                   Amount(s.sdl), Amount(s.fwl));
  text += QStringLiteral("Report tables: RPTRX %1 rows, RP_HTRX %2 rows, P_HIST1 %3 rows\n")
              .arg(rows("RPTRX"), rows("RP_HTRX"), rows("P_HIST1"));
  return text;
}

}  // namespace tarno::demo
