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
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    throw Error(
        QStringLiteral("The command 'mapping' shows a form and needs a screen: no DISPLAY or "
                       "WAYLAND_DISPLAY is set."));
  static int argc = 1;
  static char name[] = "tarnotable";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  BatchSession session(context);
  session.Mapping();
  return 0;
}

}  // namespace tarno::host
