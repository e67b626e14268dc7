// `tarnotable demo-db FILE [--employees N] [--year YYYY] [--seed S]`: writes a new demo company
// database and prints what it holds.
#include <cstdio>

#include "context/Errors.h"
#include "demo/DemoCompany.h"
#include "host/CommandLine.h"

namespace tarno::host {

namespace {

quint32 SeedOption(const ParsedCommand& cmd, quint32 fallback) {
  if (!cmd.Has("--seed")) return fallback;
  bool ok = false;
  const quint32 seed = cmd.Value("--seed").toUInt(&ok);
  if (!ok)
    throw UsageError(QStringLiteral("--seed takes a whole number from 0 to 4294967295, not '%1'.")
                         .arg(cmd.Value("--seed")));
  return seed;
}

}  // namespace

int RunDemoDbCommand(const ParsedCommand& cmd) {
  if (cmd.positional.size() != 1 || cmd.positional.first().isEmpty())
    throw UsageError(
        QStringLiteral("demo-db needs the name of the new database file: tarnotable demo-db FILE."));
  demo::DemoOptions options;
  options.employees = cmd.IntValue("--employees", options.employees);
  options.year = cmd.IntValue("--year", options.year);
  options.seed = SeedOption(cmd, options.seed);
  if (options.employees < 1 || options.employees > 100000)
    throw UsageError(
        QStringLiteral("--employees takes a number from 1 to 100000, not %1.").arg(options.employees));
  if (options.year < 2000 || options.year > 2099)
    throw UsageError(QStringLiteral("--year takes a year from 2000 to 2099, not %1.").arg(options.year));
  const demo::DemoSummary summary = demo::CreateDemoCompany(cmd.positional.first(), options);
  std::fputs(qPrintable(demo::DescribeDemo(summary)), stdout);
  return 0;
}

}  // namespace tarno::host
