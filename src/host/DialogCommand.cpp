#include "context/Errors.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunDialogCommand(const ParsedCommand& cmd, const QString& programPath) {
  (void)cmd; (void)programPath;
  throw Error(QStringLiteral("The command 'dialog' is not built yet: it waits for the report dialog issue."));
}

}  // namespace tarno::host
