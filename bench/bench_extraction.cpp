// The extraction of a full payroll year (January to December, "Full Month") of a 1,000-employee
// demo company, without and with the cost-centre breakdown: wall time, peak memory and the rows
// written, beside the floor, the time to bulk-insert the same final RPTRX rows into an empty table.
//
// Usage: bench_extraction [EMPLOYEES] [FOLDER]   (defaults 1000 and a fresh temporary folder)
// Each run is measured in a child process of its own, so that its peak memory is its own.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>

#include "context/DataModule.h"
#include "context/Errors.h"
#include "demo/DemoCompany.h"
#include "dialog/ReportSession.h"

using namespace tarno;

namespace {

class BenchDialogState final : public DialogState {
 public:
  bool breakdown = false;
  QString PeriodFromText() const override { return QStringLiteral("202501"); }
  QString PeriodToText() const override { return QStringLiteral("202512"); }
  int CycleIndex() const override { return kFullMonth; }
  bool IncludedSpecial() const override { return false; }
  bool IncludedBonus() const override { return false; }
  bool ShowHeadCount() const override { return true; }
  bool CostCentreBreakdown() const override { return breakdown; }
  bool ExportCsv() const override { return false; }
  int ReportKind() const override { return 0; }
  QString ReportKindText() const override { return QString::fromLatin1(kReportKinds[0].displayText); }
  QString ReportKindValue() const override { return QString::fromLatin1(kReportKinds[0].templateName); }
  void SetRunButtonsEnabled(bool) override {}
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Exec(QSqlQuery& query, const QString& sql) {
  if (!query.exec(sql)) throw Error(QStringLiteral("%1: %2").arg(sql, query.lastError().text()));
}

// Copies the final RPTRX rows into an empty table of the same columns in one transaction with
// one prepared statement: the least any extraction must spend to store these rows.
double FloorSeconds(db::Connection& connection) {
  QSqlDatabase database = connection.Database();
  QSqlQuery query(database);
  Exec(query, "DROP TABLE IF EXISTS RPTRX_FLOOR");
  Exec(query, "CREATE TABLE RPTRX_FLOOR AS SELECT * FROM RPTRX WHERE 0");
  // The same indexes as RPTRX, so that the floor pays for them as the extraction does.
  Exec(query, "CREATE INDEX RPTRX_FLOOR_1 ON RPTRX_FLOOR (EMPCODE, PERIOD, CYCLE, PAYCODE)");
  Exec(query, "CREATE INDEX RPTRX_FLOOR_2 ON RPTRX_FLOOR (EMPCODE, PAYCODE, PERIOD)");
  Exec(query,
       "CREATE INDEX RPTRX_FLOOR_3 ON RPTRX_FLOOR (EMPCODE, PAYCODE, PERIOD, COSTCENTRE_CODE, DEPT_CODE)");
  std::vector<std::vector<QVariant>> rows;
  QStringList columns;
  Exec(query, "SELECT * FROM RPTRX");
  const QSqlRecord record = query.record();
  for (int i = 0; i < record.count(); ++i) columns << record.fieldName(i);
  while (query.next()) {
    std::vector<QVariant> row;
    for (int i = 0; i < record.count(); ++i) row.push_back(query.value(i));
    rows.push_back(std::move(row));
  }
  QStringList marks;
  for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
  QElapsedTimer timer;
  timer.start();
  database.transaction();
  QSqlQuery insert(database);
  insert.prepare(
      QStringLiteral("INSERT INTO RPTRX_FLOOR (%1) VALUES (%2)").arg(columns.join(','), marks.join(',')));
  for (const auto& row : rows) {
    for (int i = 0; i < static_cast<int>(row.size()); ++i) insert.bindValue(i, row[i]);
    if (!insert.exec()) throw Error(insert.lastError().text());
  }
  database.commit();
  const double seconds = timer.nsecsElapsed() / 1e9;
  Exec(query, "DROP TABLE RPTRX_FLOOR");
  return seconds;
}

}  // namespace

// One run in this process: prints its line of figures.
int RunOne(const QString& file, const QByteArray& user, bool breakdown) {
  BenchDialogState state;
  state.breakdown = breakdown;
  TDataModule1 dm;
  dm.AdsConnection1.SetConnectPath(file);
  dm.AdsConnection1.SetConnected(true);
  dm.Context.values[10] = reinterpret_cast<std::intptr_t>(user.constData());
  dm.Context.values[11] = 2025;
  dm.Context.values[12] = 12;
  double seconds = 0;
  long peakBeforeRun = 0;  // FormShow opens RPTRX whole to empty it: its peak is not the extraction's
  {
    ReportSession session(dm, state);
    session.FormShow();
    peakBeforeRun = PeakKilobytes();
    QElapsedTimer timer;
    timer.start();
    session.RunReport(QStringLiteral("rpt"));
    seconds = timer.nsecsElapsed() / 1e9;
  }
  const long peak = PeakKilobytes();  // before the floor, which holds every row in memory
  QSqlQuery count(dm.AdsConnection1.Database());
  Exec(count, "SELECT COUNT(*) FROM RPTRX");
  count.next();
  const qint64 rows = count.value(0).toLongLong();
  count.finish();
  const double floor = FloorSeconds(dm.AdsConnection1);
  std::printf("%-22s %10lld %10.2f %10.2f %8.2f %12.1f %12.1f\n",
              breakdown ? "with cost centres" : "without cost centres", rows, seconds, floor, seconds / floor,
              peak / 1024.0, peakBeforeRun / 1024.0);
  return 0;
}

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc == 5 && QByteArray(argv[1]) == "--child") {
    try {
      return RunOne(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]), QByteArray(argv[4]) == "split");
    } catch (const Error& e) {
      std::fprintf(stderr, "bench_extraction: %s\n", qPrintable(e.Text()));
      return 1;
    }
  }
  const int employees = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
  QTemporaryDir temporary;
  const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
  QDir().mkpath(folder);
  const QString file = folder + QStringLiteral("/bench-%1.db").arg(employees);
  try {
    QElapsedTimer timer;
    timer.start();
    demo::DemoSummary summary = QFile::exists(file) ? demo::SummarizeDemoCompany(file)
                                                    : demo::CreateDemoCompany(file, {employees, 2025, 1});
    std::printf("demo company: %d employees, %lld pay runs, %lld COSTCTR rows (%.1f s to prepare)\n",
                summary.employees, summary.rows.value("P_HTRX"), summary.rows.value("COSTCTR"),
                timer.nsecsElapsed() / 1e9);
    const QByteArray user = summary.users.value(0).toLocal8Bit();
    std::printf("%-22s %10s %10s %10s %8s %12s %12s\n", "run", "rows", "seconds", "floor s", "ratio",
                "peak MB", "before run");
    std::fflush(stdout);
    for (const char* mode : {"plain", "split"}) {
      QProcess child;
      child.setProcessChannelMode(QProcess::ForwardedChannels);
      child.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--child"), file, QString::fromLocal8Bit(user), QString::fromLatin1(mode)});
      child.waitForFinished(-1);
      if (child.exitCode() != 0) return 1;
    }
  } catch (const Error& e) {
    std::fprintf(stderr, "bench_extraction: %s\n", qPrintable(e.Text()));
    return 1;
  }
  return 0;
}
