// Whole runs of the pivot kinds on a small demo company: every workbook saved where the reports
// root says, sound as a package, loaded by openpyxl, and its pivot rebuilt by LibreOffice to the
// sum of the operator's RPTRX amounts; the CSV variant; and the failures that must leave nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>

#include "OutputsTestSupport.h"
#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/Settings.h"
#include "context/TextUtils.h"
#include "demo/DemoCompany.h"
#include "dialog/DialogState.h"
#include "entry/BatchSession.h"
#include "outputs/CodePage.h"
#include "outputs/TFormTarnoExel.h"
#include "xlsx/Workbook.h"

namespace tarno::test {
namespace {

const QString kUser = QStringLiteral("ADMIN");
const QString kPeriod = QStringLiteral("202503");
constexpr int kFolderNo = 7;

// One demo company for the whole program: creating it is the slow part.
class DemoCompanyEnvironment {
 public:
  static DemoCompanyEnvironment& Get() {
    static DemoCompanyEnvironment instance;
    return instance;
  }
  QString database;
  QString company;  // PAYPARA1's COMPANY of the year

 private:
  DemoCompanyEnvironment() {
    database = ScratchFolder(QStringLiteral("demo")) + QStringLiteral("/company.db");
    demo::DemoOptions options;
    options.employees = 30;
    options.year = 2025;
    options.seed = 11;
    demo::CreateDemoCompany(database, options);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("demo-reader"));
    db.setDatabaseName(database);
    db.open();
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT COMPANY FROM PAYPARA1 WHERE \"YEAR\" = 2025"));
    if (query.next()) company = query.value(0).toString().trimmed();
  }
};

BatchContext ContextFor(const QString& database, const QString& reportsRoot,
                        const QString& templates = BinaryPath(QStringLiteral("bin/RPT"))) {
  BatchContext context;
  context.databasePath = database;
  context.userId = kUser;
  context.payYear = 2025;
  context.payMonth = 3;
  context.reportFolderNo = kFolderNo;
  context.companyTitle = QStringLiteral("Demo / Title");
  context.reportsRoot = reportsRoot;
  context.templates = templates;
  return context;
}

RunChoices ChoicesFor(int kind, bool csv = false, const QString& from = kPeriod) {
  RunChoices choices;
  choices.periodFrom = from;
  choices.periodTo = kPeriod;
  choices.reportKind = kind;
  choices.exportCsv = csv;
  return choices;
}

QStringList Process(const BatchContext& context, const RunChoices& choices) {
  BatchSession session(context);
  return session.Process(choices);
}

// The operator's RPTRX amounts of the period, summed exactly, and the pivot query's record count.
struct Expected {
  Currency total;
  int records = 0;
};

Expected ExpectedOf(const QString& database, const QString& from = kPeriod) {
  Expected expected;
  db::Connection connection;
  connection.SetConnectPath(database);
  connection.SetConnected(true);
  QSqlQuery query(connection.Database());
  query.prepare(QStringLiteral(
      "SELECT RPTRX.AMOUNT FROM RPTRX, EMPLOYEE, EMPSERV WHERE EMPLOYEE.EMP_NO = RPTRX.EMPCODE "
      "AND EMPSERV.EMP_NO = EMPLOYEE.EMP_NO AND EMPSERV.USERID = ? AND RPTRX.PERIOD >= ? AND RPTRX.PERIOD <= "
      "?"));
  query.addBindValue(kUser);
  query.addBindValue(from);
  query.addBindValue(kPeriod);
  query.exec();
  while (query.next()) expected.total += Currency::FromDouble(query.value(0).toDouble());
  FakeDialogState state;
  outputs::TFormTarnoExel form(connection, state, kUser);
  form.qryAll.SetParam(QStringLiteral("PERIOD1"), from);
  form.qryAll.SetParam(QStringLiteral("PERIOD2"), kPeriod);
  form.qryAll.Open();
  expected.records = form.qryAll.RecordCount();
  form.qryAll.Close();
  return expected;
}

QJsonObject CheckWorkbook(const QString& path, const QString& title) {
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {SourcePath(QStringLiteral("tests/outputs/PivotWorkbookCheck.py")), path, title});
  python.waitForFinished(120000);
  return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// Splits a CSV line of LibreOffice's export (comma, double quotes).
QStringList SplitCsvLine(const QString& line) {
  QStringList cells;
  QString cell;
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar ch = line.at(i);
    if (quoted) {
      if (ch == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
        cell += u'"';
        ++i;
      } else if (ch == u'"') {
        quoted = false;
      } else {
        cell += ch;
      }
    } else if (ch == u'"') {
      quoted = true;
    } else if (ch == u',') {
      cells << cell;
      cell.clear();
    } else {
      cell += ch;
    }
  }
  cells << cell;
  return cells;
}

// The grand total of a pivot sheet exported as CSV: the last number on the row whose first
// non-empty cell is the grand-total caption (LibreOffice and Excel name it differently).
std::optional<double> GrandTotal(const QString& csvPath) {
  QFile file(csvPath);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
  for (const QString& line : lines) {
    const QStringList cells = SplitCsvLine(line.trimmed());
    auto first =
        std::find_if(cells.begin(), cells.end(), [](const QString& c) { return !c.trimmed().isEmpty(); });
    if (first == cells.end()) continue;
    if (first->trimmed() != QStringLiteral("Total Result") &&
        first->trimmed() != QStringLiteral("Grand Total"))
      continue;
    for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell) {
      bool ok = false;
      const double value = cell->trimmed().toDouble(&ok);
      if (ok) return value;
    }
  }
  return std::nullopt;
}

TEST(RunOutputsTest, EveryPivotKindGivesASoundWorkbookWhosePivotAddsUp) {
  DemoCompanyEnvironment& demo = DemoCompanyEnvironment::Get();
  ASSERT_FALSE(demo.company.isEmpty());
  const QString root = ScratchFolder(QStringLiteral("reports-all")) + QStringLiteral("/REPORTS");
  const QString folder = root + u'/' + CleanCompanyName(demo.company) + u'/' + QString::number(kFolderNo);

  // Kind 4 (pay items by period) runs over two periods, the others over one; kind 7 (departments
  // and cost centres) with the cost-centre breakdown.
  QStringList workbooks;
  std::vector<Expected> expected;
  for (const ReportKindItem& item : kReportKinds) {
    if (item.index > 7) continue;
    SCOPED_TRACE(item.displayText);
    const QString from = item.index == 4 ? QStringLiteral("202502") : kPeriod;
    RunChoices choices = ChoicesFor(item.index, false, from);
    choices.costCentreBreakdown = item.index == 7;  // rows split by cost centre add up all the same
    const QStringList written = Process(ContextFor(demo.database, root), choices);
    const QString path = folder + u'/' + QString::fromLatin1(item.displayText) + QStringLiteral(".xlsx");
    ASSERT_EQ(written, QStringList({path}));
    ASSERT_TRUE(QFileInfo(path).isFile());
    workbooks << path;
    // Each run starts from an empty RPTRX, so the figures are taken before the next run.
    expected.push_back(ExpectedOf(demo.database, from));
    ASSERT_GT(expected.back().records, 0);
    ASSERT_FALSE(expected.back().total.IsZero());
  }
  // Nothing beside the workbooks: no temporary or half-written file.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), workbooks.size());

  for (int i = 0; i < workbooks.size(); ++i) {
    const QString& path = workbooks[i];
    SCOPED_TRACE(path.toStdString());
    const QString title =
        i == 4 ? QStringLiteral("Payroll Register Report for Demo / Title From Period : 202502 To 202503")
               : QStringLiteral("Payroll Register Report for Demo / Title as at Period : 202503");
    const QJsonObject report = CheckWorkbook(path, title);
    ASSERT_FALSE(report.isEmpty()) << "the checker printed nothing";
    for (const QJsonValue& problem : report["problems"].toArray())
      ADD_FAILURE() << problem.toString().toStdString();
    EXPECT_EQ(report["openpyxl"].toString(), QStringLiteral("ok"));
    EXPECT_EQ(report["activeSheet"].toString(), QStringLiteral("Pivot"));
    EXPECT_TRUE(report["titleFound"].toBool()) << title.toStdString();
    // "SourceRange" is the header row and one row per record, every one of them written.
    EXPECT_EQ(report["rangeRows"].toInt(), expected[i].records + 1);
    EXPECT_EQ(report["filledRows"].toInt(), expected[i].records);
  }

  // LibreOffice rebuilds every pivot from the written rows.
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (soffice.isEmpty()) GTEST_SKIP() << "soffice is not installed";
  const QString work = ScratchFolder(QStringLiteral("lo"));
  QStringList inputs;
  for (int i = 0; i < workbooks.size(); ++i) {
    const QString copy = work + QStringLiteral("/kind%1.xlsx").arg(i);
    ASSERT_TRUE(QFile::copy(workbooks[i], copy));
    inputs << copy;
  }
  QProcess office;
  office.setWorkingDirectory(work);
  office.start(
      soffice,
      QStringList{QStringLiteral("-env:UserInstallation=file://") + work + QStringLiteral("/profile"),
                  QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                  QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,"
                                 "false,-1"),
                  QStringLiteral("--outdir"), work + QStringLiteral("/csv")} +
          inputs);
  ASSERT_TRUE(office.waitForFinished(300000));
  for (int i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(workbooks[i].toStdString());
    const QString pivotCsv = work + QStringLiteral("/csv/kind%1-Pivot.csv").arg(i);
    ASSERT_TRUE(QFileInfo(pivotCsv).isFile())
        << "LibreOffice wrote no Pivot sheet: " << office.readAllStandardError().toStdString();
    const std::optional<double> total = GrandTotal(pivotCsv);
    ASSERT_TRUE(total.has_value()) << "no grand total in " << pivotCsv.toStdString();
    EXPECT_EQ(Currency::FromDouble(*total), expected[i].total)
        << *total << " against " << expected[i].total.ToString().toStdString();
  }
}

TEST(RunOutputsTest, CsvRunWritesTheGridAndTellsTheOperator) {
  DemoCompanyEnvironment& demo = DemoCompanyEnvironment::Get();
  const QString root = ScratchFolder(QStringLiteral("reports-csv"));
  RecordingInterface ui;
  const QStringList written = Process(ContextFor(demo.database, root), ChoicesFor(3, true));
  const QString folder = root + u'/' + CleanCompanyName(demo.company) + u'/' + QString::number(kFolderNo);
  const QString path = folder + QStringLiteral("/Payroll Analysis Report (Code+Desc).csv");
  ASSERT_EQ(written, QStringList({path}));
  EXPECT_EQ(ui.offered, QStringList({path}));
  EXPECT_TRUE(ui.messages.contains(QStringLiteral("Prepare CSV file!")));
  EXPECT_TRUE(ui.messages.contains(QStringLiteral("- EXPORTS CSV FORMAT COMPLETED")));
  EXPECT_LT(ui.messages.indexOf(QStringLiteral("Prepare CSV file!")),
            ui.messages.indexOf(QStringLiteral("- EXPORTS CSV FORMAT COMPLETED")));

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = outputs::DecodeWindows1252(file.readAll());
  ASSERT_TRUE(text.endsWith(QStringLiteral("\r\n")));
  QStringList lines = text.split(QStringLiteral("\r\n"));
  lines.removeLast();
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.first(),
            QStringLiteral("COMPANY_CODE,PERIOD,COST_CENTRE_CODE,COSTCENTRE_CODE,DEPARTMENT_CODE,"
                           "DESCRIPTION,EMP_NO,EMP_NAME,AMOUNT,YTDAMOUNT"));
  const Expected expected = ExpectedOf(demo.database);
  EXPECT_EQ(lines.size() - 1, expected.records);
  Currency total;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList cells = SplitCsvLine(lines[i]);
    ASSERT_EQ(cells.size(), 10) << lines[i].toStdString();
    EXPECT_EQ(cells[1], kPeriod);
    total += Currency::FromString(cells[8]);
  }
  EXPECT_EQ(total, expected.total);
}

// A template folder with one broken template in place of HISTORY1.XLSX.
QString TemplatesWith(const QString& name, void (*build)(const QString& path)) {
  const QString folder = ScratchFolder(name);
  build(folder + QStringLiteral("/HISTORY1.XLSX"));
  return folder;
}

void NoSourceRange(const QString& path) {
  xlsx::Workbook book = xlsx::Workbook::CreateNew(QStringLiteral("Data"));
  book.Sheet(0).SetText(QStringLiteral("A1"), QStringLiteral("=qryAll_EMP_NO"));
  book.AddSheet(QStringLiteral("Pivot"));
  book.SaveAs(path);
}

void NoPivotSheet(const QString& path) {
  xlsx::Workbook book = xlsx::Workbook::CreateNew(QStringLiteral("Data"));
  book.Sheet(0).SetText(QStringLiteral("A1"), QStringLiteral("EMP_NO"));
  book.Sheet(0).SetText(QStringLiteral("A2"), QStringLiteral("=qryAll_EMP_NO"));
  book.SetDefinedName(QStringLiteral("SourceRange"), QStringLiteral("Data!$A$1:$A$2"));
  book.SaveAs(path);
}

void NotAWorkbook(const QString& path) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write("this is no zip file");
}

TEST(RunOutputsTest, BadTemplatesAndReportsRootsFailClearlyAndLeaveNothing) {
  DemoCompanyEnvironment& demo = DemoCompanyEnvironment::Get();
  const QString blocker = ScratchFolder(QStringLiteral("blocker")) + QStringLiteral("/a-file");
  {
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const struct {
    const char* name;
    QString templates;
    QString reportsRoot;  // empty: a fresh one
    QString named;        // the error text must contain this
  } cases[] = {
      {"missing template", ScratchFolder(QStringLiteral("empty-rpt")), QString(),
       QStringLiteral("HISTORY1.XLSX")},
      {"template without SourceRange", TemplatesWith(QStringLiteral("no-range"), NoSourceRange), QString(),
       QStringLiteral("SourceRange")},
      {"template without a Pivot sheet", TemplatesWith(QStringLiteral("no-pivot"), NoPivotSheet), QString(),
       QStringLiteral("Pivot")},
      {"template that is no workbook", TemplatesWith(QStringLiteral("no-zip"), NotAWorkbook), QString(),
       QStringLiteral("HISTORY1.XLSX")},
      {"reports root below a file", BinaryPath(QStringLiteral("bin/RPT")),
       blocker + QStringLiteral("/REPORTS"), QStringLiteral("a-file")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString root = c.reportsRoot.isEmpty()
                             ? ScratchFolder(QStringLiteral("bad-root")) + QStringLiteral("/R")
                             : c.reportsRoot;
    try {
      Process(ContextFor(demo.database, root, c.templates), ChoicesFor(0));
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_TRUE(e.Text().contains(c.named)) << e.Text().toStdString();
    }
    // No workbook and no temporary file anywhere below the root.
    QStringList files;
    if (QFileInfo(root).isDir()) {
      QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
      while (it.hasNext()) files << it.next();
    }
    EXPECT_TRUE(files.isEmpty()) << files.join(u' ').toStdString();
    EXPECT_TRUE(TakeWrittenFiles().isEmpty());
  }
}

TEST(RunOutputsTest, ATypedReportKindIsRefusedByName) {
  DemoCompanyEnvironment& demo = DemoCompanyEnvironment::Get();
  const QString root = ScratchFolder(QStringLiteral("typed")) + QStringLiteral("/R");
  RunChoices choices = ChoicesFor(-1);
  try {
    Process(ContextFor(demo.database, root), choices);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(e.Text().startsWith(QStringLiteral("Unknown report kind"))) << e.Text().toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(root));
  // Refused before the extraction: the report table stays as the start-up left it, empty.
  EXPECT_EQ(ExpectedOf(demo.database).records, 0);
}

}  // namespace
}  // namespace tarno::test
