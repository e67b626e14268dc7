#include "context/Errors.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunRunCommand(const ParsedCommand& cmd) {
  (void)cmd;
  throw Error(QStringLiteral("The command 'run' is not built yet: it waits for the extraction issue."));
}

}  // namespace tarno::host
