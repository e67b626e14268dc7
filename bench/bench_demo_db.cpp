// Times writing a demo company: by default 1,000 employees (about 17,000 pay runs and 60,000
// detail lines), and prints the wall time, the file size and the rows written.
//   bench_demo_db [EMPLOYEES] [FOLDER]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "context/Errors.h"
#include "demo/DemoCompany.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int employees = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
  QTemporaryDir scratch;
  const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();
  const QString file = folder + QStringLiteral("/bench-company.db");
  QFile::remove(file);
  try {
    tarno::demo::DemoOptions options;
    options.employees = employees;
    QElapsedTimer timer;
    timer.start();
    const tarno::demo::DemoSummary summary = tarno::demo::CreateDemoCompany(file, options);
    const qint64 ms = timer.elapsed();
    qint64 rows = 0;
    for (qint64 n : summary.rows) rows += n;
    std::printf("demo-db: %d employees, %lld rows in %lld ms (%.0f rows/s), file %.1f MB\n", employees,
                static_cast<long long>(rows), static_cast<long long>(ms), ms > 0 ? rows * 1000.0 / ms : 0.0,
                QFileInfo(file).size() / 1048576.0);
  } catch (const tarno::Error& e) {
    std::fprintf(stderr, "bench_demo_db: %s\n", qPrintable(e.Text()));
    return 1;
  }
  return 0;
}
