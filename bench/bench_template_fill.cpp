// Filling a pivot template with 100,000 records of the pivot record's 48 fields: wall time and peak
// memory, beside libxlsxwriter writing the same cells to a new workbook in its constant-memory mode
// (the speed floor for writing xlsx). Each measurement runs in a child process of its own, so that
// its peak resident size is its own.
//   bench_template_fill [RECORDS] [TEMPLATE]   (defaults: 100000, RPT/HISTORY1.XLSX beside the program)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "context/Errors.h"
#include "xlsx/RecordSource.h"
#include "xlsx/TemplateFiller.h"

#ifdef TARNO_HAVE_XLSXWRITER
#include <xlsxwriter.h>
#endif

namespace {

const char* kFields[] = {"EMP_NO",
                         "EMP_NAME",
                         "DEPARTMENT_CODE",
                         "COST_CENTRE_CODE",
                         "COMPANY_CODE",
                         "JOB_GRADE_CODE",
                         "CATEGORY_CODE",
                         "SECTION_CODE",
                         "DESCRIPTION",
                         "PERIOD",
                         "AMOUNT",
                         "PAYCODE",
                         "COMPANY",
                         "DEPARTMENT",
                         "JOB_GRADE",
                         "COST_CENTRE",
                         "CATEGORY",
                         "YTDAMOUNT",
                         "TAXNO",
                         "COST_CENTRE_DESC",
                         "DEPARTMENT_CODE_DESC",
                         "DIVISION_CODE",
                         "DIVISION_CODE_DESC",
                         "OCCUPATION",
                         "OCCUPATION_CODE_DESC",
                         "OCCUPATION_CODE",
                         "DEPT_CODE",
                         "COSTCENTRE_CODE",
                         "DEPARTMENT_DESC",
                         "FAMOUNT",
                         "FCURR_CODE",
                         "CURR_CODE",
                         "EXRATE",
                         "LOCATION_CODE",
                         "COST_CENTRE_CODE_DESC",
                         "SECTION_CODE_DESC",
                         "HIREDATE",
                         "HIRED_DATE",
                         "TERMINATION_STATUS",
                         "TERMDATE",
                         "CHAR1",
                         "TERMINATION_DATE",
                         "STATUS",
                         "RATE",
                         "DIVISION",
                         "PASSPORT_NO",
                         "DOB",
                         "CYCLE"};
constexpr int kFieldCount = 48;

// Synthetic pivot records: a few hundred employees, thirty pay items, twelve periods; the empty
// calculated fields stay empty, as in a real run.
class SyntheticRecords : public tarno::xlsx::RecordSource {
 public:
  explicit SyntheticRecords(qint64 count) : m_count(count) {}
  QStringList FieldNames() const override {
    QStringList names;
    for (const char* f : kFields) names.append(QLatin1String(f));
    return names;
  }
  bool Next() override { return ++m_index < m_count; }
  QVariant Value(int field) const override {
    const qint64 employee = m_index / 360;
    const int item = static_cast<int>(m_index % 30);
    const int period = static_cast<int>((m_index / 30) % 12) + 1;
    const QString name = QLatin1String(kFields[field]);
    if (name == QLatin1String("AMOUNT") || name == QLatin1String("YTDAMOUNT") ||
        name == QLatin1String("RATE")) {
      return static_cast<double>((m_index * 7919) % 1000000) / 100.0;
    }
    if (name == QLatin1String("HIRED_DATE") || name == QLatin1String("DOB"))
      return QDate(1990, 1, 1).addDays(employee);
    if (name == QLatin1String("FAMOUNT") || name == QLatin1String("EXRATE") ||
        name == QLatin1String("FCURR_CODE") || name == QLatin1String("CURR_CODE") ||
        name == QLatin1String("CYCLE") || name == QLatin1String("TERMINATION_DATE")) {
      return {};
    }
    if (name == QLatin1String("EMP_NO")) return QStringLiteral("E%1").arg(employee, 5, 10, QLatin1Char('0'));
    if (name == QLatin1String("EMP_NAME")) return QStringLiteral("Employee Name %1").arg(employee);
    if (name == QLatin1String("DESCRIPTION"))
      return QStringLiteral("%1-PAY ITEM %1").arg(item, 4, 10, QLatin1Char('0'));
    if (name == QLatin1String("PERIOD")) return QStringLiteral("2024%1").arg(period, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1-%2").arg(name.left(4)).arg(employee % 17);
  }

 private:
  qint64 m_count;
  qint64 m_index = -1;
};

struct Figures {
  double seconds = 0;
  long peakKb = 0;
  bool ok = false;
};

// Runs work in a child process and returns its wall time and peak resident size.
Figures Measure(const std::function<bool()>& work) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    QElapsedTimer timer;
    timer.start();
    Figures figures;
    figures.ok = work();
    figures.seconds = timer.nsecsElapsed() / 1e9;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    figures.peakKb = usage.ru_maxrss;
    const ssize_t written = write(pipeEnds[1], &figures, sizeof figures);
    _exit(written == sizeof figures ? 0 : 1);
  }
  close(pipeEnds[1]);
  Figures figures;
  if (read(pipeEnds[0], &figures, sizeof figures) != sizeof figures) figures.ok = false;
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return figures;
}

#ifdef TARNO_HAVE_XLSXWRITER
bool WriteWithXlsxWriter(const QString& path, qint64 count) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
  if (!workbook) return false;
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Data");
  lxw_format* money = workbook_add_format(workbook);
  format_set_num_format(money, "#,##0.00");
  lxw_format* date = workbook_add_format(workbook);
  format_set_num_format(date, "dd/mm/yyyy");
  for (int f = 0; f < kFieldCount; ++f)
    worksheet_write_string(sheet, 2, static_cast<lxw_col_t>(f), kFields[f], nullptr);
  SyntheticRecords records(count);
  static const QDate epoch(1899, 12, 30);
  lxw_row_t row = 3;
  while (records.Next()) {
    for (int f = 0; f < kFieldCount; ++f) {
      const QVariant value = records.Value(f);
      const auto col = static_cast<lxw_col_t>(f);
      if (value.isNull()) continue;
      if (value.typeId() == QMetaType::Double) {
        worksheet_write_number(sheet, row, col, value.toDouble(), money);
      } else if (value.typeId() == QMetaType::QDate) {
        worksheet_write_number(sheet, row, col, static_cast<double>(epoch.daysTo(value.toDate())), date);
      } else {
        worksheet_write_string(sheet, row, col, value.toString().toUtf8().constData(), nullptr);
      }
    }
    ++row;
  }
  return workbook_close(workbook) == LXW_NO_ERROR;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const qint64 count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 100000;
  const QString templatePath =
      argc > 2 ? QString::fromLocal8Bit(argv[2])
               : QCoreApplication::applicationDirPath() + QStringLiteral("/RPT/HISTORY1.XLSX");
  QTemporaryDir folder;
  const QString filled = folder.filePath(QStringLiteral("filled.xlsx"));
  const QString floor = folder.filePath(QStringLiteral("xlsxwriter.xlsx"));

  const Figures fill = Measure([&] {
    try {
      SyntheticRecords records(count);
      tarno::xlsx::FillOptions options;
      options.parameters.insert(QStringLiteral("StartDate"), QStringLiteral("Payroll Register Report"));
      return tarno::xlsx::FillTemplate(templatePath, filled, records, options).rowsWritten == count;
    } catch (const tarno::Error& error) {
      std::fprintf(stderr, "%s\n", error.what());
      return false;
    }
  });
  std::printf("template fill   %lld records x 48 fields: %s  %.2f s  peak %.1f MB  file %.1f MB\n",
              static_cast<long long>(count), fill.ok ? "ok" : "FAILED", fill.seconds, fill.peakKb / 1024.0,
              QFileInfo(filled).size() / 1048576.0);
#ifdef TARNO_HAVE_XLSXWRITER
  const Figures writer = Measure([&] { return WriteWithXlsxWriter(floor, count); });
  std::printf("libxlsxwriter   %lld records x 48 fields: %s  %.2f s  peak %.1f MB  file %.1f MB\n",
              static_cast<long long>(count), writer.ok ? "ok" : "FAILED", writer.seconds,
              writer.peakKb / 1024.0, QFileInfo(floor).size() / 1048576.0);
  if (writer.ok && writer.seconds > 0)
    std::printf("ratio (fill / libxlsxwriter): %.2f\n", fill.seconds / writer.seconds);
#else
  std::printf("libxlsxwriter not found at configure time: no comparison\n");
#endif
  return fill.ok ? 0 : 1;
}
