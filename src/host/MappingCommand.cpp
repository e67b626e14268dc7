#include "context/Errors.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunMappingCommand(const ParsedCommand& cmd) {
  (void)cmd;
  throw Error(QStringLiteral("The command 'mapping' is not built yet: it waits for the costing issue."));
}

}  // namespace tarno::host
