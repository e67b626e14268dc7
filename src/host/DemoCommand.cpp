#include "context/Errors.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunDemoCommand(const ParsedCommand& cmd) {
  (void)cmd;
  throw Error(QStringLiteral("The command 'demo' is not built yet: it waits for the demo company (foundation issue)."));
}

}  // namespace tarno::host
