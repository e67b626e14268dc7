// The launcher: plays the host for the dialog (through the exported entry, loaded with dlopen) and
// runs every other job without a screen through the library's batch interface.
#include <QCoreApplication>
#include <cstdio>

#include "context/Errors.h"
#include "host/CommandLine.h"

using namespace tarno;
using namespace tarno::host;

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  try {
    const ParsedCommand cmd = ParseCommandLine(arguments);
    if (cmd.help) {
      std::fputs(qPrintable(UsageText()), stdout);
      return 0;
    }
    if (cmd.command == "demo") return RunDemoCommand(cmd);
    if (cmd.command == "demo-db") return RunDemoDbCommand(cmd);
    if (cmd.command == "dialog") return RunDialogCommand(cmd, QString::fromLocal8Bit(argv[0]));
    if (cmd.command == "run") return RunRunCommand(cmd);
    if (cmd.command == "report") return RunReportCommand(cmd);
    if (cmd.command == "mapping") return RunMappingCommand(cmd);
    throw UsageError(QStringLiteral("Unknown command '%1'.").arg(cmd.command));
  } catch (const UsageError& e) {
    std::fprintf(stderr, "tarnotable: %s\n", qPrintable(e.Text()));
    return 2;
  } catch (const Error& e) {
    std::fprintf(stderr, "tarnotable: %s\n", qPrintable(QString(e.Text()).replace(u'\n', u' ')));
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarnotable: %s\n", e.what());
    return 1;
  }
}
