// Throughput of the dataset layer on SQLite: opening a large table in key order, keyed lookups,
// edits and appends posted inside one transaction, and opening a large query (time and memory).
// Usage: bench_dataset [rows]   (default 500000)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "context/Connection.h"
#include "context/Query.h"
#include "context/Table.h"

namespace {

long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

// Processor seconds of this process: the machine may be shared, so wall time alone misleads.
double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Wall and processor time since the last Restart.
struct Stopwatch {
  QElapsedTimer wall;
  double cpu = 0;
  void Restart() {
    wall.restart();
    cpu = CpuSeconds();
  }
  double Wall() const { return wall.elapsed() / 1000.0 + 1e-9; }
  double Cpu() const { return CpuSeconds() - cpu + 1e-9; }
  // "N per second" by wall time, then by processor time.
  void Print(const char* what, double count) const {
    std::printf("%-40s %10.0f /s wall  %10.0f /s cpu  (%.2f s wall, %.2f s cpu)\n", what, count / Wall(),
                count / Cpu(), Wall(), Cpu());
  }
};

QString EmployeeCode(int i) {
  return QStringLiteral("E%1").arg(i, 5, 10, QLatin1Char('0'));
}

void Fill(tarno::db::Connection& connection, int rows, int employees) {
  QSqlQuery sql(connection.Database());
  sql.exec(
      QStringLiteral("CREATE TABLE RPTRX (EMPCODE CHAR(10), PAYCODE CHAR(10), PERIOD CHAR(6), CYCLE CHAR(1), "
                     "AMOUNT NUMERIC(14,4), YTD NUMERIC(14,4), DESCRIPT CHAR(30))"));
  connection.BeginTransaction();
  sql.prepare(QStringLiteral("INSERT INTO RPTRX VALUES (?, ?, ?, 'E', ?, ?, ?)"));
  const int codes = 20;
  for (int i = 0; i < rows; ++i) {
    const int employee = i % employees;
    const int code = (i / employees) % codes;
    const int period = 1 + (i / (employees * codes)) % 12;
    sql.bindValue(0, EmployeeCode(employee));
    sql.bindValue(1, QStringLiteral("CODE%1").arg(code, 2, 10, QLatin1Char('0')));
    sql.bindValue(2, QStringLiteral("2024%1").arg(period, 2, 10, QLatin1Char('0')));
    sql.bindValue(3, 100.0 + i % 1000);
    sql.bindValue(4, 1000.0 + i % 5000);
    sql.bindValue(5, QStringLiteral("Description %1   ").arg(code));
    if (!sql.exec()) std::fprintf(stderr, "fill failed: %s\n", qPrintable(sql.lastError().text()));
  }
  connection.CommitTransaction();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500000;
  const int employees = std::max(1, rows / 240);
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("bench.db"));
  { QFile(path).open(QIODevice::WriteOnly); }

  tarno::db::Connection connection;
  connection.SetConnectPath(path);
  connection.SetConnected(true);
  Stopwatch timer;
  timer.Restart();
  Fill(connection, rows, employees);
  std::printf("rows: %d (%d employees)\n", rows, employees);
  timer.Print("fill by plain SQL (rows)", rows);

  const long before = ResidentKilobytes();
  {
    tarno::db::Query query(connection);
    query.SetSQL({QStringLiteral("SELECT * FROM RPTRX")});
    timer.Restart();
    query.Open();
    timer.Print("Query open (rows)", rows);
    std::printf("  resident memory of the open result: %ld MB\n", (ResidentKilobytes() - before) / 1024);
    double sum = 0;
    timer.Restart();
    for (query.First(); !query.Eof(); query.Next()) sum += query.FieldAsFloat(QStringLiteral("AMOUNT"));
    timer.Print("scan reading one field (rows)", rows);
  }

  tarno::db::Table table(connection, QStringLiteral("RPTRX.ADT"));
  table.SetIndexFieldNames(QStringLiteral("EMPCODE;PAYCODE;PERIOD"));
  timer.Restart();
  table.Open();
  timer.Print("Table open in key order (rows)", rows);

  const int lookups = 200000;
  QRandomGenerator random(42);
  int found = 0;
  timer.Restart();
  for (int i = 0; i < lookups; ++i) {
    const int employee = random.bounded(employees);
    const int code = random.bounded(20);
    if (table.FindKey({EmployeeCode(employee), QStringLiteral("CODE%1").arg(code, 2, 10, QLatin1Char('0')),
                       QStringLiteral("202401")}))
      ++found;
  }
  timer.Print("FindKey (lookups)", lookups);
  std::printf("  %d of %d found\n", found, lookups);

  const int posts = 50000;
  tarno::db::TransactionScope transaction(connection);
  timer.Restart();
  for (int i = 0; i < posts; ++i) {
    table.FindKey({EmployeeCode(random.bounded(employees)), QStringLiteral("CODE01")});
    table.Edit();
    table.SetFieldFloat(QStringLiteral("AMOUNT"), table.FieldAsFloat(QStringLiteral("AMOUNT")) + 1.25);
    table.Post();
  }
  timer.Print("FindKey + Edit + Post (rows)", posts);
  timer.Restart();
  for (int i = 0; i < posts; ++i) {
    table.Append();
    table.SetFieldString(QStringLiteral("EMPCODE"), EmployeeCode(random.bounded(employees)));
    table.SetFieldString(QStringLiteral("PAYCODE"), QStringLiteral("NEW"));
    table.SetFieldString(QStringLiteral("PERIOD"), QStringLiteral("202412"));
    table.SetFieldFloat(QStringLiteral("AMOUNT"), i);
    table.Post();
  }
  timer.Print("Append + Post in key order (rows)", posts);
  tarno::db::Query insert(connection);
  insert.SetSQL({QStringLiteral("INSERT INTO RPTRX (EMPCODE, PAYCODE, PERIOD, CYCLE, AMOUNT)"),
                 QStringLiteral("VALUES (:EMPCODE, :PAYCODE, :PERIOD, 'E', :AMOUNT)")});
  timer.Restart();
  for (int i = 0; i < posts; ++i) {
    insert.SetParam(QStringLiteral("EMPCODE"), EmployeeCode(i % employees));
    insert.SetParam(QStringLiteral("PAYCODE"), QStringLiteral("SQL"));
    insert.SetParam(QStringLiteral("PERIOD"), QStringLiteral("202412"));
    insert.SetParamValue(QStringLiteral("AMOUNT"), i * 0.5);
    insert.ExecSQL();
  }
  timer.Print("ExecSQL insert with parameters (rows)", posts);
  transaction.Commit();
  return 0;
}
