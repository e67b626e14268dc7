#include "context/Errors.h"
#include "dialog/ReportSession.h"

namespace tarno {

void ReportSession::ProduceOutputs(const QString& periodFrom, const QString& periodTo) {
  (void)periodFrom;
  (void)periodTo;
  throw OutputError(QStringLiteral("The workbook and CSV outputs are not built yet; RPTRX has been filled."));
}

}  // namespace tarno
