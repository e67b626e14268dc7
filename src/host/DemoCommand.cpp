// `tarnotable demo [--dir DIR]`: the demo company DIR/company.db (DIR defaults to ./demo), created
// when missing, and a short summary of what it holds.
#include <cstdio>

#include "context/Errors.h"
#include "demo/DemoCompany.h"
#include "host/CommandLine.h"

namespace tarno::host {

int RunDemoCommand(const ParsedCommand& cmd) {
  const QString folder = cmd.Value("--dir", QStringLiteral("demo"));
  bool created = false;
  const demo::DemoSummary summary = demo::EnsureDemoCompany(folder, &created);
  std::fputs(created ? "Created the demo company.\n" : "The demo company exists already.\n", stdout);
  std::fputs(qPrintable(demo::DescribeDemo(summary)), stdout);
  return 0;
}

}  // namespace tarno::host
