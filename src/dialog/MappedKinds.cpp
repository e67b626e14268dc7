#include "context/Errors.h"
#include "dialog/ReportSession.h"

namespace tarno {

void ReportSession::PrepareMappedRun(const QString& periodFrom, const QString& periodTo) {
  (void)periodFrom;
  (void)periodTo;
  throw OutputError(QStringLiteral("The variance and year-to-date reports are not built yet."));
}

void ReportSession::FillReportHistory(const QString& periodFrom, const QString& periodTo) {
  (void)periodFrom;
  (void)periodTo;
  throw OutputError(QStringLiteral("The variance and year-to-date reports are not built yet."));
}

void ReportSession::ProduceMappedOutputs(const QString& periodFrom, const QString& periodTo) {
  (void)periodFrom;
  (void)periodTo;
  throw OutputError(QStringLiteral("The variance and year-to-date reports are not built yet."));
}

}  // namespace tarno
