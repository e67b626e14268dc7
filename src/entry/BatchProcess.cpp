// The batch session's Process job: the Process button without a screen, RunReport("XLS") with the
// choices of the command line.
#include "context/Errors.h"
#include "context/UserInterface.h"
#include "entry/BatchSessionPrivate.h"

namespace tarno {

QStringList BatchSession::Process(const RunChoices& choices) {
  // The site switch locks the report-kind combo on its first item; refused before anything changes.
  if (d->kindLocked && choices.reportKind != 0)
    throw UsageError(QStringLiteral("Report kind %1 is not available at this site: only kind 0 may run.")
                         .arg(choices.reportKind));
  d->state.SetChoices(choices);
  TakeWrittenFiles();  // only this job's files are reported
  d->session->RunReport(QStringLiteral("XLS"));
  return TakeWrittenFiles();
}

}  // namespace tarno
