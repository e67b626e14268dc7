// The launcher's report command on a small demo company: a range of periods prints its last
// period, one page per cost centre; usage errors end with status 2 before anything runs.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include "common/TestSupport.h"

namespace tarno::costing {
namespace {

struct Result {
  int status = -1;
  QString out, err;
};

Result Launch(const QStringList& arguments, const QString& folder) {
  QProcess process;
  process.setWorkingDirectory(folder);
  process.start(tarno::test::ProgramPath(), arguments);
  Result result;
  if (!process.waitForFinished(300000)) return result;
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(CostingCommand, RangeOfPeriodsPrintsTheLastOneCostCentrePerPage) {
  if (!QFileInfo(tarno::test::ProgramPath()).isExecutable())
    GTEST_SKIP() << "the launcher is not built: " << tarno::test::ProgramPath().toStdString();
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("command"));
  ASSERT_EQ(Launch({"demo-db", "company.db", "--employees", "30", "--year", "2025"}, folder).status, 0);
  const QStringList context = {"--db",      "company.db", "--user",         "ADMIN",
                               "--year",    "2025",       "--month",        "6",
                               "--company", "Demo Co",    "--reports-root", folder + "/R"};

  const Result run = Launch(QStringList{"report"} + context +
                                QStringList{"--from", "202504", "--to", "202506", "--cost-centre", "--out",
                                            "costing.pdf", "--out", "costing.txt"},
                            folder);
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out.split(u'\n', Qt::SkipEmptyParts), (QStringList{"costing.pdf", "costing.txt"}));

  const QStringList pages = PdfText(folder + QStringLiteral("/costing.pdf")).split(u'\f', Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2);  // the demo company has several cost centres
  const int count = static_cast<int>(pages.size());
  for (int i = 0; i < count; ++i) {
    EXPECT_TRUE(pages[i].contains(QStringLiteral("Payroll costing Report for Period :202506"))) << i;
    EXPECT_FALSE(pages[i].contains(QStringLiteral(":202504"))) << i;
    EXPECT_TRUE(pages[i].contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(count))) << i;
    EXPECT_TRUE(pages[i].contains(QStringLiteral("USerid ADMIN"))) << i;
  }
}

TEST(CostingCommand, UsageErrorsEndWithStatusTwo) {
  if (!QFileInfo(tarno::test::ProgramPath()).isExecutable())
    GTEST_SKIP() << "the launcher is not built: " << tarno::test::ProgramPath().toStdString();
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("usage"));
  const QStringList context = {"--db", "missing.db", "--user", "ADMIN", "--year", "2025", "--month", "6"};
  const struct {
    QStringList extra;
    const char* mentions;
  } cases[] = {{{}, "--out"}, {{"--out", "costing.rtf"}, "costing.rtf"}};
  for (const auto& c : cases) {
    const Result run = Launch(QStringList{"report"} + context + c.extra, folder);
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.mentions))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

}  // namespace
}  // namespace tarno::costing
