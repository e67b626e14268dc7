#include "host/CommandLine.h"

#include <QSet>

#include "context/Errors.h"

namespace tarno::host {
namespace {

// Options that take a value, per command group.
const QSet<QString> kContextOptions = {"--db",      "--user",  "--year",  "--month",        "--folder",
                                       "--company", "--cond1", "--cond2", "--reports-root", "--templates"};
const QSet<QString> kRunOptions = {"--from", "--to", "--cycle", "--kind"};
const QSet<QString> kRunFlags = {"--special", "--bonus", "--cost-centre", "--no-headcount", "--csv"};

struct CommandSyntax {
  QSet<QString> valued;
  QSet<QString> flags;
  int positional;
};

CommandSyntax SyntaxOf(const QString& command) {
  if (command == "demo") return {{"--dir"}, {}, 0};
  if (command == "demo-db") return {{"--employees", "--year", "--seed"}, {}, 1};
  if (command == "dialog" || command == "mapping") return {kContextOptions, {}, 0};
  if (command == "run") return {kContextOptions + kRunOptions, kRunFlags, 0};
  if (command == "report") return {kContextOptions + kRunOptions + QSet<QString>{"--out"}, kRunFlags, 0};
  throw UsageError(QStringLiteral("Unknown command '%1'. Try 'tarnotable --help'.").arg(command));
}

bool IsWholeNumber(const QString& text) {
  bool ok = false;
  text.toLongLong(&ok);
  return ok;
}

}  // namespace

QString ParsedCommand::Value(const QString& option, const QString& fallback) const {
  const auto it = options.find(option);
  return it == options.end() || it->isEmpty() ? fallback : it->last();
}

int ParsedCommand::IntValue(const QString& option, int fallback) const {
  if (!Has(option)) return fallback;
  bool ok = false;
  const int value = Value(option).toInt(&ok);
  if (!ok) throw UsageError(QStringLiteral("%1 takes a whole number, not '%2'.").arg(option, Value(option)));
  return value;
}

ParsedCommand ParseCommandLine(const QStringList& arguments) {
  ParsedCommand cmd;
  if (arguments.isEmpty()) throw UsageError(QStringLiteral("No command given. Try 'tarnotable --help'."));
  if (arguments.first() == "--help" || arguments.first() == "-h" || arguments.first() == "help") {
    cmd.help = true;
    return cmd;
  }
  cmd.command = arguments.first();
  const CommandSyntax syntax = SyntaxOf(cmd.command);
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (arg == "--help" || arg == "-h") {
      cmd.help = true;
    } else if (syntax.valued.contains(arg)) {
      if (i + 1 >= arguments.size())
        throw UsageError(QStringLiteral("The option %1 needs a value.").arg(arg));
      cmd.options[arg].append(arguments[++i]);
    } else if (syntax.flags.contains(arg)) {
      cmd.options[arg];
    } else if (arg.startsWith("--")) {
      throw UsageError(QStringLiteral("The command '%1' has no option %2.").arg(cmd.command, arg));
    } else {
      cmd.positional.append(arg);
    }
  }
  if (!cmd.help && cmd.positional.size() != syntax.positional)
    throw UsageError(cmd.positional.size() > syntax.positional
                         ? QStringLiteral("Unexpected argument '%1'.").arg(cmd.positional.last())
                         : QStringLiteral("The command '%1' needs a FILE.").arg(cmd.command));
  return cmd;
}

BatchContext ContextFromOptions(const ParsedCommand& cmd) {
  for (const char* required : {"--db", "--user", "--year", "--month"})
    if (!cmd.Has(required))
      throw UsageError(QStringLiteral("The command '%1' needs %2.").arg(cmd.command, required));
  BatchContext c;
  c.databasePath = cmd.Value("--db");
  c.userId = cmd.Value("--user");
  c.payYear = cmd.IntValue("--year", 0);
  c.payMonth = cmd.IntValue("--month", 0);
  c.reportFolderNo = cmd.IntValue("--folder", 0);
  c.companyTitle = cmd.Value("--company");
  c.condition1 = cmd.Value("--cond1");
  c.condition2 = cmd.Value("--cond2");
  c.reportsRoot = cmd.Value("--reports-root");
  c.templates = cmd.Value("--templates");
  return c;
}

RunChoices ChoicesFromOptions(const ParsedCommand& cmd, const BatchContext& context) {
  RunChoices r;
  const QString current = QStringLiteral("%1%2")
                              .arg(context.payYear, 4, 10, QChar(u'0'))
                              .arg(context.payMonth, 2, 10, QChar(u'0'));
  // Periods are passed on as typed: the range check and the period loop judge them.
  r.periodFrom = cmd.Value("--from", current);
  r.periodTo = cmd.Value("--to", current);
  static const QMap<QString, int> cycles = {{"mid", 0},   {"end", 1},  {"special", 2},
                                            {"bonus", 3}, {"full", 4}, {"mid-end", 5}};
  const QString cycle = cmd.Value("--cycle", "full");
  if (!cycles.contains(cycle))
    throw UsageError(
        QStringLiteral("--cycle takes mid, end, special, bonus, full or mid-end, not '%1'.").arg(cycle));
  r.cycleIndex = cycles.value(cycle);
  r.includedSpecial = cmd.Has("--special");
  r.includedBonus = cmd.Has("--bonus");
  const QString kind = cmd.Value("--kind", "0");
  if (!IsWholeNumber(kind) || kind.toInt() < 0 || kind.toInt() > 9)
    throw UsageError(QStringLiteral("--kind takes a report kind from 0 to 9, not '%1'.").arg(kind));
  r.reportKind = kind.toInt();
  r.costCentreBreakdown = cmd.Has("--cost-centre");
  r.showHeadCount = !cmd.Has("--no-headcount");
  r.exportCsv = cmd.Has("--csv");
  return r;
}

QString UsageText() {
  return QStringLiteral(
      "tarnotable: payroll analysis and reporting for Singapore payroll.\n"
      "\n"
      "Usage:\n"
      "  tarnotable demo [--dir DIR]                 demo company, a full report run, prints the files "
      "written\n"
      "  tarnotable demo-db FILE [--employees N] [--year YYYY] [--seed S]\n"
      "                                              writes a new demo company database\n"
      "  tarnotable dialog  CONTEXT                  the report dialog, through the exported entry\n"
      "  tarnotable run     CONTEXT RUN              the Process button without a screen\n"
      "  tarnotable report  CONTEXT RUN --out FILE   the Report button: extraction, then the costing report\n"
      "                                              exported by FILE's extension (.pdf .html .xlsx .png "
      ".txt)\n"
      "  tarnotable mapping CONTEXT                  the allowance code mapping form\n"
      "\n"
      "CONTEXT: --db PATH --user ID --year YYYY --month M [--folder N] [--company TEXT]\n"
      "         [--cond1 SQL] [--cond2 SQL] [--reports-root DIR] [--templates DIR]\n"
      "RUN:     [--from CCYYMM] [--to CCYYMM] [--cycle mid|end|special|bonus|full|mid-end]\n"
      "         [--special] [--bonus] [--kind 0-9] [--cost-centre] [--no-headcount] [--csv]\n"
      "\n"
      "Exit status: 0 success, 2 usage error, 1 error of the run.\n"
      "Each written file's path is printed on standard output, one per line.\n");
}

}  // namespace tarno::host
