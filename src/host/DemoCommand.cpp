// `tarnotable demo [--dir DIR]`: the demo company DIR/company.db (DIR defaults to ./demo), created
// when missing, a short summary of what it holds, and a full report run over it, written below
// DIR/REPORTS: the payroll analysis workbook of the year, the year-to-date and variance workbooks
// of the last months, and the costing report of the last period by cost centre as a PDF.
// Each job is one call of the module, as an operator would make it from the dialog.
#include <QDir>
#include <cstdio>

#include "context/Errors.h"
#include "demo/DemoCompany.h"
#include "entry/BatchSession.h"
#include "host/CommandLine.h"
#include "host/HeadlessGui.h"

namespace tarno::host {
namespace {

QString PeriodOf(int year, int month) {
  return QStringLiteral("%1%2").arg(year, 4, 10, QChar(u'0')).arg(month, 2, 10, QChar(u'0'));
}

}  // namespace

int RunDemoCommand(const ParsedCommand& cmd) {
  const QString folder = QDir(cmd.Value("--dir", QStringLiteral("demo"))).absolutePath();
  bool created = false;
  const demo::DemoSummary summary = demo::EnsureDemoCompany(folder, &created);
  std::fputs(created ? "Created the demo company.\n" : "The demo company exists already.\n", stderr);
  std::fputs(qPrintable(demo::DescribeDemo(summary)), stderr);

  const auto application = MakeHeadlessGuiApplication();
  BatchContext context;
  context.databasePath = summary.file;
  context.userId = QStringLiteral("ADMIN");
  context.payYear = summary.year;
  context.payMonth = 12;
  context.reportFolderNo = 1;
  context.companyTitle = summary.company;
  context.reportsRoot = folder + QStringLiteral("/REPORTS");

  const QString january = PeriodOf(summary.year, 1);
  const QString november = PeriodOf(summary.year, 11);
  const QString december = PeriodOf(summary.year, 12);
  auto choices = [](const QString& from, const QString& to, int kind) {
    RunChoices c;
    c.periodFrom = from;
    c.periodTo = to;
    c.reportKind = kind;
    return c;
  };

  QStringList written;
  {
    BatchSession session(context);
    written += session.Process(choices(january, december, 0));  // payroll analysis of the year
  }
  {
    BatchSession session(context);
    written += session.Process(choices(january, december, 9));  // year-to-date at December
  }
  {
    BatchSession session(context);
    written += session.Process(choices(november, december, 8));  // November against December
  }
  {
    BatchSession session(context);
    RunChoices costing = choices(december, december, 0);
    costing.costCentreBreakdown = true;
    written += session.Report(
        costing, {context.reportsRoot + QStringLiteral("/Payroll Costing Report %1.pdf").arg(december)});
  }
  for (const QString& path : written) std::printf("%s\n", qPrintable(path));
  std::fflush(stdout);
  return 0;
}

}  // namespace tarno::host
