// `tarnotable run CONTEXT RUN`: the Process button without a screen. Start-up as the dialog's
// (connect, company parameters, RPTRX emptied), one run of the chosen kind, and the path of every
// written file on standard output, one per line.
#include <QCoreApplication>
#include <cstdio>

#include "entry/BatchSession.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunRunCommand(const ParsedCommand& cmd) {
  const BatchContext context = ContextFromOptions(cmd);
  const RunChoices choices = ChoicesFromOptions(cmd, context);
  static int argc = 1;
  static char name[] = "tarnotable";
  static char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);

  BatchSession session(context);
  const QStringList written = session.Process(choices);
  for (const QString& path : written) std::printf("%s\n", qPrintable(path));
  std::fflush(stdout);
  return 0;
}

}  // namespace tarno::host
