#include "context/Errors.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunReportCommand(const ParsedCommand& cmd) {
  (void)cmd;
  throw Error(QStringLiteral("The command 'report' is not built yet: it waits for the extraction and costing issues."));
}

}  // namespace tarno::host
