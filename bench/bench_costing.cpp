// The costing report of a 1,000-employee demo company: the Report job's extraction of one period
// with the cost-centre breakdown, then the costing PDF read from RPTRX, laid out and written.
// Each phase is timed on its own.
//   bench_costing [EMPLOYEES] [PERIOD]   (defaults: 1000, 202506)
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "context/Connection.h"
#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/Query.h"
#include "context/Table.h"
#include "costing/CostingExport.h"
#include "costing/CostingQuery.h"
#include "demo/DemoCompany.h"
#include "entry/BatchSession.h"

using namespace tarno;

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int employees = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
  const QString period = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("202506");
  try {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("company.db"));
    QElapsedTimer timer;

    timer.start();
    const demo::DemoSummary summary = demo::CreateDemoCompany(file, {employees, period.left(4).toInt(), 1});
    std::printf("demo company (%d employees):        %8.2f s\n", summary.employees, timer.elapsed() / 1000.0);

    BatchContext context;
    context.databasePath = file;
    context.userId = summary.users.value(0);
    context.payYear = period.left(4).toInt();
    context.payMonth = period.mid(4, 2).toInt();
    context.companyTitle = summary.company;
    context.reportsRoot = folder.filePath(QStringLiteral("REPORTS"));
    RunChoices choices;
    choices.periodFrom = choices.periodTo = period;
    choices.costCentreBreakdown = true;

    const QString firstPdf = folder.filePath(QStringLiteral("report.pdf"));
    timer.restart();
    {
      BatchSession session(context);
      session.Report(choices, {firstPdf});
    }
    std::printf("report job (start-up, extraction, PDF): %6.2f s\n", timer.elapsed() / 1000.0);

    // The costing part alone, over the RPTRX that the job left behind.
    db::Connection connection;
    connection.SetUsername(QStringLiteral("bench"));
    connection.SetConnectPath(file);
    connection.SetConnected(true);
    db::Query queryRpt(connection);
    queryRpt.SetTablePassword(QStringLiteral("rptrx"), TDataModule1::GetTablePassword());
    db::Table code(connection, QStringLiteral("CODE.ADT"));
    code.SetIndexFieldNames(QStringLiteral("CATEGORY;CODE"));
    code.Open();

    timer.restart();
    costing::OpenCostingQuery(queryRpt, period);
    costing::CostingReportData data;
    data.companyTitle = summary.company;
    data.period = period;
    data.userId = context.userId;
    data.printedAt = QDateTime::currentDateTime();
    data.groups = costing::ReadCostingGroups(queryRpt, code);
    const double readSeconds = timer.elapsed() / 1000.0;
    timer.restart();
    const costing::CostingReport report(std::move(data));
    const double layoutSeconds = timer.elapsed() / 1000.0;
    timer.restart();
    costing::WriteCostingPdf(report, folder.filePath(QStringLiteral("costing.pdf")));
    const double pdfSeconds = timer.elapsed() / 1000.0;

    std::size_t lines = 0;
    for (const costing::CostingGroup& group : report.Data().groups) lines += group.lines.size();
    std::printf("costing query and read (%zu groups, %zu lines): %6.3f s\n", report.Data().groups.size(),
                lines, readSeconds);
    std::printf("layout (%d pages):                  %8.3f s\n", report.PageCount(), layoutSeconds);
    std::printf("PDF written:                        %8.3f s\n", pdfSeconds);
  } catch (const Error& e) {
    std::fprintf(stderr, "bench_costing: %s\n", qPrintable(e.Text()));
    return 1;
  }
  return 0;
}
