// Whole runs of the variance (8) and year-to-date (9) kinds on a small demo company with encrypted
// tables on a free-table connection: the files written, EXCELMAP complete, and every workbook opened
// by LibreOffice with column totals equal to the sums of RP_HTRX's mapped fields for the period.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <optional>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/TextUtils.h"
#include "demo/DemoCompany.h"
#include "entry/BatchSession.h"

namespace tarno::test {
namespace {

const QString kUser = QStringLiteral("ADMIN");
constexpr int kFolderNo = 4;

struct MapItem {
  QString payItem, column, fieldName;
};

// What a run wrote and what RP_HTRX and EXCELMAP held right after it (the next run changes both).
struct RunResult {
  QStringList files;
  QList<MapItem> map;
  QHash<QString, double> sums;  // period + "/" + FIELD_NO<n> -> SUM over RP_HTRX
  int recordsOfToPeriod = 0;    // RP_HTRX rows of the to-period with an EMPLOYEE row
};

// One demo company and reports root for the whole program; the runs happen once.
class MappedDemo {
 public:
  static MappedDemo& Get() {
    static MappedDemo instance;
    return instance;
  }
  QString database;
  QString reportsRoot;
  QString folder;      // the company's report folder
  RunResult variance;  // kind 8, February to March 2025
  RunResult ytd;       // kind 9, March 2025

 private:
  MappedDemo() {
    const QString scratch = ScratchFolder(QStringLiteral("mapped-demo"));
    database = scratch + QStringLiteral("/company.db");
    reportsRoot = scratch + QStringLiteral("/REPORTS");
    demo::DemoOptions options;
    options.employees = 30;
    options.year = 2025;
    options.seed = 7;
    demo::CreateDemoCompany(database, options);
    m_reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mapped-demo-reader"));
    m_reader.setDatabaseName(database);
    m_reader.open();
    {
      // Read and released before the runs: an unfinished statement would keep the file locked.
      QSqlQuery company(m_reader);
      company.exec(QStringLiteral("SELECT COMPANY FROM PAYPARA1 WHERE \"YEAR\" = '2025'"));
      const QString name = company.next() ? company.value(0).toString().trimmed() : QString();
      company.finish();
      folder = reportsRoot + u'/' + CleanCompanyName(name) + u'/' + QString::number(kFolderNo);
    }
    variance = Run(8, QStringLiteral("202502"), QStringLiteral("202503"));
    ytd = Run(9, QStringLiteral("202503"), QStringLiteral("202503"));
  }

  RunResult Run(int kind, const QString& from, const QString& to) {
    BatchContext context;
    context.databasePath = database;
    context.userId = kUser;
    context.payYear = 2025;
    context.payMonth = 3;
    context.reportFolderNo = kFolderNo;
    context.companyTitle = QStringLiteral("Demo Title");
    context.reportsRoot = reportsRoot;
    context.templates = BinaryPath(QStringLiteral("bin/RPT"));
    RunChoices choices;
    choices.periodFrom = from;
    choices.periodTo = to;
    choices.reportKind = kind;
    RunResult result;
    {
      BatchSession session(context);
      result.files = session.Process(choices);
    }
    QSqlQuery map(m_reader);
    map.exec(QStringLiteral("SELECT PAYITEM, EXCEL_COL, FIELDNAME FROM EXCELMAP"));
    while (map.next())
      result.map << MapItem{map.value(0).toString().trimmed(), map.value(1).toString().trimmed(),
                            map.value(2).toString().trimmed()};
    for (const QString& period : {from, to}) {
      for (const MapItem& item : result.map) {
        if (!item.fieldName.startsWith(QStringLiteral("FIELD_NO"))) continue;
        QSqlQuery sum(m_reader);
        sum.prepare(QStringLiteral("SELECT SUM(%1) FROM RP_HTRX WHERE PERIOD = ?").arg(item.fieldName));
        sum.addBindValue(period);
        sum.exec();
        result.sums.insert(period + u'/' + item.fieldName, sum.next() ? sum.value(0).toDouble() : 0.0);
      }
    }
    QSqlQuery count(m_reader);
    count.prepare(
        QStringLiteral("SELECT COUNT(*) FROM RP_HTRX, EMPLOYEE WHERE EMPLOYEE.EMP_NO = RP_HTRX.EMPCODE AND "
                       "RP_HTRX.PERIOD = ?"));
    count.addBindValue(to);
    count.exec();
    result.recordsOfToPeriod = count.next() ? count.value(0).toInt() : -1;
    return result;
  }

  QSqlDatabase m_reader;
};

// The first sheet of a workbook as rows of cells, through LibreOffice; empty when it could not load.
QList<QStringList> ConvertFirstSheet(const QString& workbook) {
  const QString out = ScratchFolder(QStringLiteral("lo-out"));
  const QString profile = ScratchFolder(QStringLiteral("lo-profile"));
  QProcess soffice;
  soffice.start(
      QStringLiteral("soffice"),
      {QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless"),
       QStringLiteral("--convert-to"),
       QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,1"),
       QStringLiteral("--outdir"), out, workbook});
  soffice.waitForFinished(180000);
  QList<QStringList> rows;
  const QStringList produced = QDir(out).entryList({QStringLiteral("*.csv")}, QDir::Files);
  if (produced.isEmpty()) return rows;
  QFile file(out + u'/' + produced.first());
  file.open(QIODevice::ReadOnly);
  for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
    // Cells of these sheets hold no commas or quotes except in names, which are quoted whole.
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (QChar ch : line.trimmed()) {
      if (ch == u'"')
        quoted = !quoted;
      else if (ch == u',' && !quoted)
        cells << std::exchange(cell, QString());
      else
        cell += ch;
    }
    cells << cell;
    rows << cells;
  }
  return rows;
}

// Each workbook is converted once per program: a conversion takes seconds.
QList<QStringList> FirstSheetThroughLibreOffice(const QString& workbook) {
  static QHash<QString, QList<QStringList>> converted;
  if (!converted.contains(workbook)) converted.insert(workbook, ConvertFirstSheet(workbook));
  return converted.value(workbook);
}

int ColumnIndex(const QString& letters) {
  int index = 0;
  for (QChar ch : letters) index = index * 26 + (ch.unicode() - 'A' + 1);
  return index - 1;
}

std::optional<double> NumberAt(const QList<QStringList>& rows, int row, const QString& column) {
  if (row < 1 || row > rows.size()) return std::nullopt;
  const QStringList& cells = rows[row - 1];
  const int index = ColumnIndex(column);
  if (index >= cells.size()) return std::nullopt;
  bool ok = false;
  const double value = cells[index].toDouble(&ok);
  return ok ? std::optional<double>(value) : std::nullopt;
}

int RowWithText(const QList<QStringList>& rows, const QString& columnBText) {
  for (int i = 0; i < rows.size(); ++i)
    if (rows[i].size() > 1 && rows[i][1] == columnBText) return i + 1;
  return 0;
}

bool SofficeMissing() {
  return QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

// A totals row of a workbook against the sums of RP_HTRX's mapped fields right after the run.
void ExpectColumnTotals(const RunResult& run, const QList<QStringList>& rows, int totalsRow,
                        const QString& period) {
  int checked = 0;
  for (const MapItem& item : run.map) {
    if (!item.fieldName.startsWith(QStringLiteral("FIELD_NO"))) continue;
    SCOPED_TRACE((item.payItem + u' ' + item.column + QString::number(totalsRow)).toStdString());
    const std::optional<double> shown = NumberAt(rows, totalsRow, item.column);
    ASSERT_TRUE(shown.has_value());
    EXPECT_NEAR(*shown, run.sums.value(period + u'/' + item.fieldName), 0.005);
    ++checked;
  }
  EXPECT_GT(checked, 4);
}

TEST(MappedWorkbooksDemo, RunsWriteTheWorkbooksUnderTheCompanyFolder) {
  MappedDemo& demo = MappedDemo::Get();
  EXPECT_EQ(demo.variance.files,
            QStringList({demo.folder + QStringLiteral("/Payroll Variance Report.xlsx"),
                         demo.folder + QStringLiteral("/Feb 25 Vs Mar 25 Variance Report.xlsx")}));
  EXPECT_EQ(demo.ytd.files, QStringList({demo.folder + QStringLiteral("/YTD Payroll Report .xlsx")}));
  for (const QString& file : demo.variance.files + demo.ytd.files)
    EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
  // Nothing half-written beside them.
  EXPECT_EQ(QDir(demo.folder).entryList(QDir::Files).size(), 3)
      << QDir(demo.folder).entryList(QDir::Files).join(", ").toStdString();
  EXPECT_TRUE(QFileInfo(demo.reportsRoot + QStringLiteral("/Variance.xlsx")).isFile());
}

TEST(MappedWorkbooksDemo, ExcelMapIsCompleteAfterAVarianceRun) {
  MappedDemo& demo = MappedDemo::Get();
  ASSERT_GT(demo.variance.map.size(), 6);
  for (const MapItem& item : demo.variance.map) {
    SCOPED_TRACE(item.payItem.toStdString());
    EXPECT_FALSE(item.column.isEmpty());
    EXPECT_TRUE(item.fieldName.startsWith(QStringLiteral("FIELD_NO")) ||
                item.fieldName == QStringLiteral("PERCENT"))
        << item.fieldName.toStdString();
  }
}

TEST(MappedWorkbooksDemo, FilledWorkbooksShowTheFieldTotalsOfTheToPeriod) {
  if (SofficeMissing()) GTEST_SKIP() << "soffice is not installed";
  MappedDemo& demo = MappedDemo::Get();
  for (const RunResult* run : {&demo.variance, &demo.ytd}) {
    const QString workbook = run->files.value(0);
    SCOPED_TRACE(workbook.toStdString());
    ASSERT_GT(run->recordsOfToPeriod, 0);
    const QList<QStringList> rows = FirstSheetThroughLibreOffice(workbook);
    ASSERT_FALSE(rows.isEmpty()) << "LibreOffice could not load it";
    // The records fill rows 9 onwards; the totals row follows them.
    ExpectColumnTotals(*run, rows, 9 + run->recordsOfToPeriod, QStringLiteral("202503"));
  }
  const QList<QStringList> ytd = FirstSheetThroughLibreOffice(demo.ytd.files.value(0));
  ASSERT_GE(ytd.size(), 2);
  EXPECT_EQ(ytd[1].value(1), QStringLiteral("Mar 25 YTD Payroll Report"));
}

TEST(MappedWorkbooksDemo, VarianceWorkbookShowsBothPeriodsTotals) {
  if (SofficeMissing()) GTEST_SKIP() << "soffice is not installed";
  MappedDemo& demo = MappedDemo::Get();
  const QList<QStringList> rows = FirstSheetThroughLibreOffice(demo.variance.files.value(1));
  ASSERT_FALSE(rows.isEmpty()) << "LibreOffice could not load it";
  ASSERT_GE(rows.size(), 2);
  EXPECT_EQ(rows[1].value(1), QStringLiteral("Feb 25 Vs Mar 25 Variance Report"));
  const int t = RowWithText(rows, QStringLiteral("Feb 25 Total"));
  ASSERT_GT(t, 9);
  EXPECT_EQ(RowWithText(rows, QStringLiteral("Mar 25 Total")), t + 1);
  EXPECT_EQ(RowWithText(rows, QStringLiteral("Difference")), t + 2);
  EXPECT_EQ(RowWithText(rows, QStringLiteral("Variance due to:")), t + 5);
  ExpectColumnTotals(demo.variance, rows, t, QStringLiteral("202502"));
  ExpectColumnTotals(demo.variance, rows, t + 1, QStringLiteral("202503"));
}

}  // namespace
}  // namespace tarno::test
