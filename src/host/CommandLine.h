// The launcher's command line: the command, its CONTEXT and RUN options.
//
//   tarnotable demo [--dir DIR]
//   tarnotable demo-db FILE [--employees N] [--year YYYY] [--seed S]
//   tarnotable dialog  CONTEXT
//   tarnotable run     CONTEXT RUN
//   tarnotable report  CONTEXT RUN --out FILE [--out FILE ...]
//   tarnotable mapping CONTEXT
//
// Exit status: 0 success, 2 usage error, 1 error of the run (its text on standard error).
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "entry/BatchSession.h"

namespace tarno::host {

struct ParsedCommand {
  QString command;
  QStringList positional;              // FILE of demo-db
  QMap<QString, QStringList> options;  // every --option with its values, in order
  bool help = false;

  bool Has(const QString& option) const { return options.contains(option); }
  QString Value(const QString& option, const QString& fallback = QString()) const;
  int IntValue(const QString& option, int fallback) const;  // throws UsageError when not a number
};

// Splits the arguments (without the program name). Throws UsageError for an unknown command or
// option, or an option that needs a value and has none.
ParsedCommand ParseCommandLine(const QStringList& arguments);

BatchContext ContextFromOptions(const ParsedCommand& cmd);  // --db, --user, --year, --month required
RunChoices ChoicesFromOptions(const ParsedCommand& cmd, const BatchContext& context);

QString UsageText();

// One function per command, each in its own file; each returns the exit status.
int RunDemoCommand(const ParsedCommand& cmd);
int RunDemoDbCommand(const ParsedCommand& cmd);
int RunDialogCommand(const ParsedCommand& cmd, const QString& programPath);
int RunRunCommand(const ParsedCommand& cmd);
int RunReportCommand(const ParsedCommand& cmd);
int RunMappingCommand(const ParsedCommand& cmd);

}  // namespace tarno::host
