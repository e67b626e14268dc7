// The Process button of the dialog and the launcher's run job are two ways to one run: on the same
// company and with the same choices they leave the same report table and write the same workbook.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include "common/TestSupport.h"
#include "context/DataModule.h"
#include "context/Settings.h"
#include "demo/DemoCompany.h"
#include "dialog/TmyEndUserSolution.h"
#include "entry/BatchSession.h"
#include "entry/EntryStartUp.h"
#include "entry/RecordingUserInterface.h"

using namespace tarno;

namespace {

// RPTRX as sorted text lines, every column.
QStringList ReportTable(const QString& file) {
  QStringList lines;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("agree-read"));
    db.setDatabaseName(file);
    EXPECT_TRUE(db.open());
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM RPTRX")));
    while (query.next()) {
      QStringList cells;
      for (int i = 0; i < query.record().count(); ++i) cells << query.value(i).toString();
      lines << cells.join(u'|');
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("agree-read"));
  lines.sort();
  return lines;
}

struct Way {
  QStringList table;
  QStringList files;
};

constexpr int kYear = 2025;
const QByteArray kUser = "ADMIN";
const QByteArray kTitle = "Agreement Test Pte Ltd";

Way ThroughTheDialog(const QString& file, const QString& reports) {
  test::InstalledRecorder recorder;
  SetReportsRoot(reports);
  HostContextBlock context;
  context.values[10] = reinterpret_cast<std::intptr_t>(kUser.constData());
  context.values[11] = kYear;
  context.values[12] = 3;
  context.values[19] = reinterpret_cast<std::intptr_t>(kTitle.constData());
  Way way;
  {
    TDataModule1 dm;
    ConnectDataModule(dm, context, file);
    TmyEndUserSolution dialog(dm);
    dialog.FormShow();
    dialog.findChild<QComboBox*>("wwDBLookupComboPrd1")->setCurrentText(QStringLiteral("202501"));
    dialog.findChild<QComboBox*>("wwDBLookupComboPrd2")->setCurrentText(QStringLiteral("202503"));
    dialog.findChild<QCheckBox*>("CheckBoxCTR")->setChecked(true);
    dialog.findChild<QPushButton*>("BitBtn1")->click();
    EXPECT_TRUE(recorder.ui.errors.isEmpty()) << qPrintable(recorder.ui.errors.join('\n'));
    way.files = recorder.ui.offered;
  }
  SetReportsRoot(QString());
  TakeWrittenFiles();
  way.table = ReportTable(file);
  return way;
}

Way ThroughTheBatchSession(const QString& file, const QString& reports) {
  test::InstalledRecorder recorder;
  BatchContext context;
  context.databasePath = file;
  context.userId = QString::fromLatin1(kUser);
  context.payYear = kYear;
  context.payMonth = 3;
  context.companyTitle = QString::fromLatin1(kTitle);
  context.reportsRoot = reports;
  RunChoices choices;
  choices.periodFrom = QStringLiteral("202501");
  choices.periodTo = QStringLiteral("202503");
  choices.costCentreBreakdown = true;
  Way way;
  {
    BatchSession session(context);
    way.files = session.Process(choices);
  }
  SetReportsRoot(QString());
  way.table = ReportTable(file);
  return way;
}

TEST(DialogAndBatch, ProcessLeavesTheSameReportTableAndWorkbook) {
  const QString folder = test::ScratchFolder(QStringLiteral("agree"));
  const QString file = folder + QStringLiteral("/company.db");
  demo::CreateDemoCompany(file, {14, kYear, 3});

  const Way dialog = ThroughTheDialog(file, folder + QStringLiteral("/dialog"));
  const Way batch = ThroughTheBatchSession(file, folder + QStringLiteral("/batch"));

  ASSERT_FALSE(dialog.table.isEmpty());
  EXPECT_EQ(dialog.table, batch.table);
  ASSERT_EQ(dialog.files.size(), 1);
  ASSERT_EQ(batch.files.size(), 1);
  EXPECT_EQ(QFileInfo(dialog.files[0]).fileName(), QStringLiteral("Payroll Analysis Report.xlsx"));
  EXPECT_EQ(QFileInfo(dialog.files[0]).fileName(), QFileInfo(batch.files[0]).fileName());
  EXPECT_GT(QFileInfo(dialog.files[0]).size(), 0);
}

}  // namespace
