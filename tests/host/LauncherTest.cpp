// The launcher's command-line contract: exit status 0 / 2 (usage) / 1 (error of the run), one line
// on standard error for an error, and every written file's path on standard output.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include "common/TestSupport.h"

namespace {

struct Outcome {
  int exitCode = -1;
  QString out;
  QString err;
};

Outcome RunLauncher(const QStringList& arguments) {
  QProcess process;
  process.setProgram(tarno::test::ProgramPath());
  process.setArguments(arguments);
  process.start();
  process.waitForFinished(120000);
  return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

// A small demo company shared by the tests of this file.
const QString& DemoDatabase() {
  static const QString file = [] {
    const QString path =
        tarno::test::ScratchFolder(QStringLiteral("launcher")) + QStringLiteral("/company.db");
    const Outcome made = RunLauncher({"demo-db", path, "--employees", "12", "--year", "2025", "--seed", "7"});
    EXPECT_EQ(made.exitCode, 0) << qPrintable(made.err);
    return path;
  }();
  return file;
}

QStringList Context(const QString& reports) {
  return {"--db",      DemoDatabase(),          "--user",         "ADMIN", "--year", "2025", "--month", "3",
          "--company", "Launcher Test Pte Ltd", "--reports-root", reports};
}

TEST(Launcher, HelpPrintsTheUsage) {
  const Outcome help = RunLauncher({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains("tarnotable run     CONTEXT RUN"));
}

TEST(Launcher, UsageErrorsExitWithTwo) {
  const QString db = DemoDatabase();
  const QStringList context = {"--db", db, "--user", "ADMIN", "--year", "2025", "--month", "3"};
  const QList<QStringList> cases = {
      {},
      {"frobnicate"},
      {"run", "--user", "ADMIN", "--year", "2025", "--month", "3"},  // no --db
      QStringList{"run"} + context + QStringList{"--kind", "12"},
      QStringList{"run"} + context + QStringList{"--kind", "two"},
      QStringList{"run"} + context + QStringList{"--cycle", "weekly"},
      QStringList{"run"} + context + QStringList{"--colour"},
      QStringList{"run"} + context + QStringList{"--from"},
      QStringList{"report"} + context,                                  // no --out
      QStringList{"report"} + context + QStringList{"--out", "x.doc"},  // no such device
      {"demo-db", "x.db", "--employees", "many"},
      {"demo-db"},
  };
  for (const QStringList& arguments : cases) {
    const Outcome outcome = RunLauncher(arguments);
    EXPECT_EQ(outcome.exitCode, 2) << qPrintable(arguments.join(' '));
    EXPECT_TRUE(outcome.err.startsWith("tarnotable: ")) << qPrintable(outcome.err);
    EXPECT_EQ(outcome.err.trimmed().count('\n'), 0) << qPrintable(outcome.err);
    EXPECT_TRUE(outcome.out.isEmpty());
  }
}

TEST(Launcher, ErrorsOfTheRunExitWithOneAndOneLine) {
  const QString reports = tarno::test::ScratchFolder(QStringLiteral("launcher-errors"));
  struct Case {
    QStringList arguments;
    QString expected;
  };
  const QList<Case> cases = {
      {QStringList{"run", "--db", reports + "/missing.db", "--user", "ADMIN", "--year", "2025", "--month",
                   "3"},
       "missing.db"},
      {QStringList{"run"} + Context(reports) + QStringList{"--from", "202503", "--to", "202502"},
       "Invalid Period Range!"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunLauncher(c.arguments);
    EXPECT_EQ(outcome.exitCode, 1) << qPrintable(c.arguments.join(' '));
    EXPECT_TRUE(outcome.err.contains(c.expected)) << qPrintable(outcome.err);
    EXPECT_EQ(outcome.err.trimmed().count('\n'), 0) << qPrintable(outcome.err);
    EXPECT_TRUE(outcome.out.isEmpty());
  }
  EXPECT_FALSE(QFileInfo::exists(reports + "/missing.db"));  // nothing created for a bad path
}

TEST(Launcher, RunAndReportPrintEveryWrittenFile) {
  const QString reports = tarno::test::ScratchFolder(QStringLiteral("launcher-runs"));
  const QString folder = reports + "/Lion City Precision Engineering Pte Ltd/0/";
  struct Case {
    QStringList arguments;
    QStringList expectedFiles;
  };
  const QList<Case> cases = {
      {QStringList{"run"} + Context(reports) + QStringList{"--from", "202501", "--to", "202503"},
       {folder + "Payroll Analysis Report.xlsx"}},
      {QStringList{"run"} + Context(reports) + QStringList{"--kind", "1", "--csv"},
       {folder + "Payroll Analysis Report (Departmart Code).csv"}},
      {QStringList{"run"} + Context(reports) + QStringList{"--from", "202502", "--kind", "8"},
       {folder + "Payroll Variance Report.xlsx", folder + "Feb 25 Vs Mar 25 Variance Report.xlsx"}},
      {QStringList{"report"} + Context(reports) +
           QStringList{"--cost-centre", "--out", reports + "/cost.pdf", "--out", reports + "/cost.txt"},
       {reports + "/cost.pdf", reports + "/cost.txt"}},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunLauncher(c.arguments);
    EXPECT_EQ(outcome.exitCode, 0) << qPrintable(c.arguments.join(' ')) << qPrintable(outcome.err);
    const QStringList printed = outcome.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(printed, c.expectedFiles);
    for (const QString& file : printed) EXPECT_TRUE(QFileInfo(file).size() > 0) << qPrintable(file);
  }
}

}  // namespace
