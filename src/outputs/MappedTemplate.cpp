// Preparation of the working template Variance.xlsx and its file lock.
#include "outputs/MappedTemplate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <cstring>

#include "context/Errors.h"
#include "context/Settings.h"
#include "outputs/DateText.h"
#include "xlsx/Workbook.h"

namespace tarno::outputs {

std::unique_ptr<WorkingTemplateLock> WorkingTemplateLock::Acquire(const QString& file, int timeoutMs) {
  const QString lockPath = file + QStringLiteral(".lock");
  const QByteArray native = QFile::encodeName(lockPath);
  const int descriptor = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0)
    throw OutputError(QStringLiteral("The lock file %1 cannot be created: %2.")
                          .arg(lockPath, QString::fromLocal8Bit(std::strerror(errno))));
  QElapsedTimer waited;
  waited.start();
  while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      const QString reason = QString::fromLocal8Bit(std::strerror(errno));
      ::close(descriptor);
      throw OutputError(QStringLiteral("The lock file %1 cannot be locked: %2.").arg(lockPath, reason));
    }
    if (waited.elapsed() >= timeoutMs) {
      ::close(descriptor);
      throw OutputError(QStringLiteral("The working template %1 is in use by another report run; waited %2 "
                                       "seconds for it. Try again when that run has finished.")
                            .arg(file)
                            .arg(timeoutMs / 1000.0));
    }
    QThread::msleep(100);
  }
  return std::unique_ptr<WorkingTemplateLock>(new WorkingTemplateLock(descriptor));
}

WorkingTemplateLock::~WorkingTemplateLock() {
  if (m_descriptor >= 0) {
    ::flock(m_descriptor, LOCK_UN);
    ::close(m_descriptor);
  }
}

QString WorkingTemplatePath() {
  return QDir(ReportsRoot()).filePath(QStringLiteral("Variance.xlsx"));
}

PreparedTemplate PrepareMappedTemplate(const QString& templatePath, db::Table& excelMap, int reportKind,
                                       const QString& periodTo, int lockTimeoutMs) {
  // The title is checked first: a bad to-period must fail before anything is written.
  const QString title =
      reportKind == 9 ? PeriodMonthCaption(periodTo) + QStringLiteral(" YTD Payroll Report") : QString();
  xlsx::Workbook workbook = xlsx::Workbook::Open(templatePath);
  xlsx::Worksheet& sheet = workbook.Sheet(0);

  excelMap.Close();
  excelMap.Open();
  for (excelMap.First(); !excelMap.Eof(); excelMap.Next()) {
    const QString column = excelMap.FieldAsString(QStringLiteral("EXCEL_COL"));
    if (column.isEmpty()) continue;  // a row the numbering never reached has no column to write
    const QString fieldName = excelMap.FieldAsString(QStringLiteral("FIELDNAME"));
    sheet.SetWrapText(column + QStringLiteral("8"), true);
    sheet.SetText(column + QStringLiteral("8"), excelMap.FieldAsString(QStringLiteral("DESCR")));
    // A row without a field keeps its caption; its reference cell stays empty.
    if (!fieldName.isEmpty())
      sheet.SetText(column + QStringLiteral("9"), QStringLiteral("=qryAll_") + fieldName);
    sheet.AddBorders(column + QStringLiteral("10"), true, true, xlsx::BorderStyle::Double);
    sheet.SetText(column + QStringLiteral("10"), QStringLiteral("SUM"));
  }
  if (reportKind == 9) sheet.SetText(QStringLiteral("B2"), title);

  const QString root = ReportsRoot();
  if (!QDir().mkpath(root))
    throw OutputError(QStringLiteral("The reports folder %1 cannot be created.").arg(root));
  PreparedTemplate prepared;
  prepared.path = WorkingTemplatePath();
  prepared.lock = WorkingTemplateLock::Acquire(prepared.path, lockTimeoutMs);
  workbook.SaveAs(prepared.path);
  return prepared;
}

}  // namespace tarno::outputs
