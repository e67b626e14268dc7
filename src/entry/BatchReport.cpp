// The batch session's Report job: the Report button without a screen. The extraction runs as
// RunReport("rpt"), then the costing report of CurrentPeriod (the last period of the range) is
// exported to every requested file by its extension.
#include <QGuiApplication>

#include "context/Errors.h"
#include "costing/CostingExport.h"
#include "costing/CostingQuery.h"
#include "entry/BatchSessionPrivate.h"

namespace tarno {

QStringList BatchSession::Report(const RunChoices& choices, const QStringList& outFiles) {
  // Everything the run cannot do is refused before the run changes anything.
  if (outFiles.isEmpty())
    throw UsageError(QStringLiteral("The costing report needs at least one output file (--out FILE)."));
  for (const QString& file : outFiles) costing::CostingDeviceForFile(file);
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    throw Error(
        QStringLiteral("The costing report needs a graphical application object to lay out its fonts."));
  if (d->kindLocked && choices.reportKind != 0)
    throw UsageError(QStringLiteral("Report kind %1 is not available at this site: only kind 0 may run.")
                         .arg(choices.reportKind));

  d->state.SetChoices(choices);
  d->session->RunReport(QStringLiteral("rpt"));

  const costing::CostingReport report(costing::ReadCostingReport(*d->session));
  QStringList written;
  for (const QString& file : outFiles) {
    written += costing::ExportCostingReport(report, file);
  }
  return written;
}

}  // namespace tarno
