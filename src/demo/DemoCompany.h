// The demo company: a realistic, deterministic Singapore manufacturer in a new SQLite file, with
// every payroll table, one payroll year plus December of the previous year, and empty report
// tables. Used by `tarnotable demo` and `tarnotable demo-db`, by tests and by benchmarks.
//
// Order of calls: CreateDemoCompany(file, options) once for a new file; SummarizeDemoCompany(file)
// at any time on an existing file; DescribeDemo(summary) for the operator.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "context/Currency.h"

namespace tarno::demo {

struct DemoOptions {
  int employees = 120;  // 1 to 100,000
  int year = 2025;      // the payroll year, 2000 to 2099
  quint32 seed = 1;     // the same seed gives the same company
};

struct DemoSummary {
  QString file;
  QString company;
  int year = 0;         // the latest payroll year in PAYPARA1
  QString firstPeriod;  // CCYYMM of the earliest pay run
  QString lastPeriod;
  int employees = 0;
  int workPermits = 0;         // foreign workers on work permits (who bear the levy)
  int joiners = 0;             // hired during the payroll year
  int leavers = 0;             // with a termination date
  int costCentreSplits = 0;    // employees with COSTCTR rows
  QStringList users;           // host users with EMPSERV rows
  QMap<QString, qint64> rows;  // table name -> row count, every payroll table
  // Totals over every pay run (P_HTRX), fixed point.
  Currency gross, nett, cpfEmployee, cpfEmployer, sdl, fwl;
};

// The table password of the company's encrypted tables.
inline const QString kDemoTablePassword = QStringLiteral("KALMO8462");

// Writes the company into a new file. Throws tarno::Error when the file exists (nothing is
// touched then) or the options are out of range; on any failure no file is left behind. The file
// appears under its name only when complete.
DemoSummary CreateDemoCompany(const QString& sqliteFile, const DemoOptions& options);

// Counts and totals of an existing company file. Throws tarno::DatabaseError when it cannot be read.
DemoSummary SummarizeDemoCompany(const QString& sqliteFile);

// The demo company of a folder: DIR/company.db.
QString DemoCompanyFile(const QString& folder);
// Creates the folder and its demo company (default options) when missing, then summarizes the
// company. *created (when given) tells whether it was written now.
DemoSummary EnsureDemoCompany(const QString& folder, bool* created = nullptr);

// A short text of what the company holds, several lines, ending with a newline.
QString DescribeDemo(const DemoSummary& summary);

}  // namespace tarno::demo
