// The batch session's start-up and teardown: the same steps as the entry without a screen (the
// context block handed over with texts that stay alive, RPTRX emptied, the settings of the context
// in force), standard-error messages installed only for the session, and start-up errors thrown
// to the caller with nothing written.
#include <gtest/gtest.h>

#include "context/BatchUserInterface.h"
#include "context/DataModule.h"
#include "context/ScopedInstallation.h"
#include "context/Settings.h"
#include "entry/BatchSession.h"
#include "entry/CompanyFixture.h"
#include "entry/RecordingUserInterface.h"

using namespace tarno;
using namespace tarno::test;

namespace {

BatchContext ContextFor(const QString& path) {
  BatchContext context;
  context.databasePath = path;
  context.userId = QStringLiteral("OPERATOR9");
  context.payYear = 2024;
  context.payMonth = 6;
  context.reportFolderNo = 3;
  context.companyTitle = QStringLiteral("Acme Title");
  context.condition1 = QStringLiteral("AND H.EMPCODE <> 'X'");
  context.condition2 = QStringLiteral("AND H.CYCLE <> 'Z'");
  context.reportsRoot = ScratchFolder(QStringLiteral("batch-reports"));
  context.templates = ScratchFolder(QStringLiteral("batch-templates"));
  return context;
}

}  // namespace

TEST(BatchSession, StartsUpLikeTheEntryAndTearsDownCompletely) {
  const QString path = MakeCompanyDatabase("batch-startup");
  const BatchContext context = ContextFor(path);
  {
    BatchSession session(context);
    ASSERT_NE(DataModule1, nullptr);
    const HostContextBlock& block = DataModule1->Context;
    EXPECT_EQ(block.UserId(), context.userId);
    EXPECT_EQ(block.CompanyTitle(), context.companyTitle);
    EXPECT_EQ(block.HistoryCondition1(), context.condition1);
    EXPECT_EQ(block.HistoryCondition2(), context.condition2);
    EXPECT_EQ(block.PayYear(), 2024);
    EXPECT_EQ(block.PayMonth(), 6);
    EXPECT_EQ(block.ReportFolderNo(), 3);
    EXPECT_EQ(DataModule1->Company(), QStringLiteral("Acme Payroll Pte Ltd"));
    EXPECT_EQ(CountRows(path, "RPTRX"), 0);
    EXPECT_EQ(ReportsRoot(), context.reportsRoot);
    EXPECT_EQ(TemplatesFolder(), context.templates);
    EXPECT_NE(dynamic_cast<BatchUserInterface*>(InstalledUserInterface()), nullptr);
    EXPECT_NE(InstalledProgressSink(), nullptr);
  }
  EXPECT_EQ(DataModule1, nullptr);
  EXPECT_EQ(InstalledUserInterface(), nullptr);
  EXPECT_EQ(InstalledProgressSink(), nullptr);
  EXPECT_NE(ReportsRoot(), context.reportsRoot);
}

TEST(BatchSession, KeepsTheMessagesTheCallerInstalled) {
  const QString path = MakeCompanyDatabase("batch-recorder");
  InstalledRecorder recorder;
  {
    BatchSession session(ContextFor(path));
    EXPECT_EQ(InstalledUserInterface(), &recorder.ui);
  }
  EXPECT_EQ(InstalledUserInterface(), &recorder.ui);
}

TEST(BatchSession, StartUpErrorsAreThrownAndWriteNothing) {
  struct Case {
    const char* name;
    QStringList dropTables;
    const char* path;  // nullptr: the fixture's
    int payMonth;
    const char* expectedInError;
  };
  const Case cases[] = {
      {"month 13", {}, nullptr, 13, "13"},
      {"database missing", {}, "/nonexistent/company.db", 6, "/nonexistent/company.db"},
      {"history table missing", {"P_HTRX"}, nullptr, 6, "P_HTRX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanyOptions options;
    options.dropTables = c.dropTables;
    const QString path = MakeCompanyDatabase("batch-errors", options);
    BatchContext context = ContextFor(c.path == nullptr ? path : QString::fromLatin1(c.path));
    context.payMonth = c.payMonth;
    try {
      BatchSession session(context);
      ADD_FAILURE() << "the start-up did not fail";
    } catch (const Error& e) {
      EXPECT_TRUE(e.Text().contains(QString::fromLatin1(c.expectedInError))) << qPrintable(e.Text());
    }
    EXPECT_EQ(CountRows(path, "RPTRX"), 1);
    EXPECT_EQ(DataModule1, nullptr);
    EXPECT_EQ(InstalledUserInterface(), nullptr);
    EXPECT_EQ(InstalledProgressSink(), nullptr);
    EXPECT_NE(ReportsRoot(), context.reportsRoot);
  }
}
