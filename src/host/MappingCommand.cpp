// `tarnotable mapping CONTEXT`: the allowance code mapping form, after the same start-up as the
// dialog (connect, company parameters, the dialog's database steps). It needs a screen.
#include <QApplication>

#include "context/Errors.h"
#include "entry/BatchSession.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunMappingCommand(const ParsedCommand& cmd) {
  const BatchContext context = ContextFromOptions(cmd);
  // Without a screen the modal form could never be closed: refuse instead of waiting forever.
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  const bool noScreen = platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
                        (platform.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
                         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
  if (noScreen)
    throw Error(
        QStringLiteral("The command 'mapping' shows a form and needs a screen: no DISPLAY or "
                       "WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM names a platform without one."));
  static int argc = 1;
  static char name[] = "tarnotable";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  BatchSession session(context);
  session.Mapping();
  return 0;
}

}  // namespace tarno::host
