// `tarnotable report CONTEXT RUN --out FILE [--out FILE ...]`: the dialog's Report button without
// a screen. The extraction runs, then the costing report of the last period of the range is
// exported to each FILE by its extension; each written file is printed, one per line.
#include <cstdio>

#include "context/Errors.h"
#include "costing/CostingExport.h"
#include "entry/BatchSession.h"
#include "host/CommandLine.h"
#include "host/HeadlessGui.h"

namespace tarno::host {

int RunReportCommand(const ParsedCommand& cmd) {
  const BatchContext context = ContextFromOptions(cmd);
  const RunChoices choices = ChoicesFromOptions(cmd, context);
  const QStringList outFiles = cmd.options.value(QStringLiteral("--out"));
  if (outFiles.isEmpty())
    throw UsageError(
        QStringLiteral("The command 'report' needs at least one --out FILE (.pdf .html .xlsx .png .txt)."));
  // A wrong extension is a usage error found before anything connects or runs.
  for (const QString& file : outFiles) costing::CostingDeviceForFile(file);

  // Fonts and painting need a GUI application object, but no screen.
  const auto application = MakeHeadlessGuiApplication();

  BatchSession session(context);
  const QStringList written = session.Report(choices, outFiles);
  for (const QString& file : written) std::printf("%s\n", qPrintable(file));
  std::fflush(stdout);
  return 0;
}

}  // namespace tarno::host
