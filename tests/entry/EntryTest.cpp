// The exported entry, called as the host calls it: the dialog's state after the start-up, RPTRX
// emptied on every opening, the "OTCOMP" lock, the date format rule, and the guard that turns every
// start-up failure into one message and a normal return without writing to the database.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "common/TestSupport.h"
#include "context/DataModule.h"
#include "context/TFormMsg.h"
#include "context/Table.h"
#include "context/UserInterface.h"
#include "dialog/TmyEndUserSolution.h"
#include "entry/CompanyFixture.h"
#include "entry/Entry.h"
#include "entry/Exports.h"
#include "entry/RecordingUserInterface.h"

using namespace tarno;
using namespace tarno::test;

namespace {

// The context block as a host fills it; texts are kept alive by the object.
struct HostCall {
  QByteArray userId = "OPERATOR1";
  QByteArray companyTitle = "Acme Title";
  QByteArray condition1, condition2;
  int payYear = 2024;
  int payMonth = 3;
  int reportFolderNo = 7;
  bool nullTexts = false;

  void Call(const char* databasePath) const {
    auto text = [&](const QByteArray& t) {
      return nullTexts ? 0 : reinterpret_cast<std::intptr_t>(t.constData());
    };
    DLLFmPayForm(11, 12, 13, 14, 15, text(condition1), text(condition2), 18, 19, 20, text(userId), payYear,
                 payMonth, 24, 25, 26, 27, reportFolderNo, 29, text(companyTitle), databasePath);
  }
  void Call(const QString& path) const { Call(path.toLocal8Bit().constData()); }
};

// What the hook saw of the dialog and the call's instances before the modal loop.
struct Seen {
  bool shown = false;
  QStringList fromItems, toItems;
  QString from, to, kindText, dateFormat, company, userId, companyTitle;
  int kind = -2, cycle = -1;
  bool kindEnabled = false, headCount = false, formMsgSet = false, dataModuleSet = false;
  int rptrxRows = -1;
};

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items.append(combo->itemText(i));
  return items;
}

// Installs a hook that records the dialog and closes it as soon as the modal loop runs.
class ObservedCall {
 public:
  explicit ObservedCall(const QString& path, std::function<void(TmyEndUserSolution&)> whileShown = {}) {
    SetDialogShownHook([this, path, whileShown](TmyEndUserSolution& dialog) {
      seen.shown = true;
      const auto* from = dialog.findChild<QComboBox*>("wwDBLookupComboPrd1");
      const auto* to = dialog.findChild<QComboBox*>("wwDBLookupComboPrd2");
      seen.fromItems = Items(from);
      seen.toItems = Items(to);
      seen.from = dialog.PeriodFromText();
      seen.to = dialog.PeriodToText();
      seen.kind = dialog.ReportKind();
      seen.kindText = dialog.ReportKindText();
      seen.kindEnabled = dialog.ReportKindCombo()->isEnabled();
      seen.cycle = dialog.CycleIndex();
      seen.headCount = dialog.ShowHeadCount();
      seen.formMsgSet = FormMsg != nullptr && myEndUserSolution == &dialog;
      seen.dataModuleSet = DataModule1 != nullptr;
      if (DataModule1 != nullptr) {
        seen.dateFormat = DataModule1->DateFormat();
        seen.company = DataModule1->Company();
        seen.userId = DataModule1->Context.UserId();
        seen.companyTitle = DataModule1->Context.CompanyTitle();
      }
      seen.rptrxRows = CountRows(path, QStringLiteral("RPTRX"));
      QTimer::singleShot(0, &dialog, [&dialog, whileShown] {
        if (whileShown) whileShown(dialog);
        dialog.reject();
      });
    });
  }
  ~ObservedCall() { SetDialogShownHook({}); }
  Seen seen;
};

void ExpectNoInstanceLeft() {
  EXPECT_EQ(FormMsg, nullptr);
  EXPECT_EQ(DataModule1, nullptr);
  EXPECT_EQ(myEndUserSolution, nullptr);
}

}  // namespace

TEST(Entry, OpensTheDialogOnTheCurrentPeriodWithItsDefaults) {
  const QString path = MakeCompanyDatabase("entry-defaults");
  const QStringList periods = {"202401", "202402", "202403", "202404", "202405", "202406",
                               "202407", "202408", "202409", "202410", "202411", "202412"};
  for (const int month : {1, 12}) {
    SCOPED_TRACE(month);
    InstalledRecorder recorder;
    ObservedCall observed(path);
    HostCall call;
    call.payMonth = month;
    call.Call(path);
    ASSERT_TRUE(observed.seen.shown) << qPrintable(recorder.ui.errors.join('\n'));
    EXPECT_EQ(observed.seen.fromItems, periods);
    EXPECT_EQ(observed.seen.toItems, periods);
    EXPECT_EQ(observed.seen.from, periods.at(month - 1));
    EXPECT_EQ(observed.seen.to, periods.at(month - 1));
    EXPECT_EQ(observed.seen.kind, 0);
    EXPECT_EQ(observed.seen.kindText, QStringLiteral("Payroll Analysis Report"));
    EXPECT_TRUE(observed.seen.kindEnabled);
    EXPECT_EQ(observed.seen.cycle, 4);  // "Full Month"
    EXPECT_TRUE(observed.seen.headCount);
    EXPECT_TRUE(observed.seen.formMsgSet);
    EXPECT_TRUE(observed.seen.dataModuleSet);
    EXPECT_EQ(observed.seen.userId, QStringLiteral("OPERATOR1"));
    EXPECT_EQ(observed.seen.companyTitle, QStringLiteral("Acme Title"));
    EXPECT_TRUE(recorder.ui.errors.isEmpty()) << qPrintable(recorder.ui.errors.join('\n'));
    ExpectNoInstanceLeft();
  }
}

TEST(Entry, EveryOpeningStartsFromAnEmptyReportTable) {
  const QString path = MakeCompanyDatabase("entry-rptrx");
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE(opening);
    {
      // A row left by another run before this opening.
      db::Connection connection;
      connection.SetConnectPath(path);
      connection.SetConnected(true);
      ExecOrThrow(connection,
                  "INSERT INTO RPTRX (EMPCODE, PERIOD, CYCLE, PAYCODE) VALUES ('E9', '202402', 'E', 'X')");
      connection.SetConnected(false);
    }
    ASSERT_GT(CountRows(path, "RPTRX"), 0);
    InstalledRecorder recorder;
    ObservedCall observed(path);
    HostCall().Call(path);
    ASSERT_TRUE(observed.seen.shown) << qPrintable(recorder.ui.errors.join('\n'));
    EXPECT_EQ(observed.seen.rptrxRows, 0);
  }
}

TEST(Entry, SiteSwitchLocksTheReportKind) {
  CompanyOptions options;
  options.otcomp = true;
  const QString path = MakeCompanyDatabase("entry-otcomp", options);
  InstalledRecorder recorder;
  ObservedCall observed(path);
  HostCall().Call(path);
  ASSERT_TRUE(observed.seen.shown);
  EXPECT_FALSE(observed.seen.kindEnabled);
  EXPECT_EQ(observed.seen.kind, 0);
}

TEST(Entry, DateFormatFollowsThePayrollYearsRowExactly) {
  struct Case {
    const char* name;
    const char* fileName;
    const char* stored;
    bool payYearRow;
    const char* expectedFormat;
    const char* expectedCompany;
  };
  const Case cases[] = {
      {"month first", "company.db", "MM/DD/YYYY", true, "MM/DD/CCYY", "Acme Payroll Pte Ltd"},
      {"month first in lower case", "company.db", "mm/dd/yyyy", true, "DD/MM/CCYY", "Acme Payroll Pte Ltd"},
      {"day first", "company.db", "DD/MM/YYYY", true, "DD/MM/CCYY", "Acme Payroll Pte Ltd"},
      {"year missing: first record", "company.db", "", false, "DD/MM/CCYY", "First Record Pte Ltd"},
      {"dictionary in lower case", "company.add", "MM/DD/YYYY", true, "MM/DD/CCYY", "Acme Payroll Pte Ltd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanyOptions options;
    options.fileName = QString::fromLatin1(c.fileName);
    options.dateFormat = QString::fromLatin1(c.stored);
    options.payYearRow = c.payYearRow;
    const QString path = MakeCompanyDatabase("entry-dateformat", options);
    InstalledRecorder recorder;
    ObservedCall observed(path);
    HostCall().Call(path);
    ASSERT_TRUE(observed.seen.shown) << qPrintable(recorder.ui.errors.join('\n'));
    EXPECT_EQ(observed.seen.dateFormat, QString::fromLatin1(c.expectedFormat));
    EXPECT_EQ(observed.seen.company, QString::fromLatin1(c.expectedCompany));
  }
}

TEST(Entry, NullContextTextsReadAsEmpty) {
  const QString path = MakeCompanyDatabase("entry-null-texts");
  InstalledRecorder recorder;
  ObservedCall observed(path);
  HostCall call;
  call.nullTexts = true;
  call.Call(path);
  ASSERT_TRUE(observed.seen.shown) << qPrintable(recorder.ui.errors.join('\n'));
  EXPECT_EQ(observed.seen.userId, QString());
  EXPECT_EQ(observed.seen.companyTitle, QString());
}

TEST(Entry, StartUpFailuresBecomeOneMessageAndANormalReturn) {
  struct Case {
    const char* name;
    QStringList dropTables;
    const char* path;  // nullptr: the fixture's; "" : a null pointer
    int payMonth;
    const char* expectedInError;
  };
  const Case cases[] = {
      {"history table missing", {"P_HTRX"}, nullptr, 3, "P_HTRX"},
      {"parameter table missing", {"PAYPARA1"}, nullptr, 3, "PAYPARA1"},
      {"database missing", {}, "/nonexistent/folder/company.db", 3, "/nonexistent/folder/company.db"},
      {"null database path", {}, "", 3, "database"},
      {"month 0", {}, nullptr, 0, "0"},
      {"month 13", {}, nullptr, 13, "13"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanyOptions options;
    options.dropTables = c.dropTables;
    const QString path = MakeCompanyDatabase("entry-guard", options);
    InstalledRecorder recorder;
    ObservedCall observed(path);
    HostCall call;
    call.payMonth = c.payMonth;
    if (c.path == nullptr)
      call.Call(path);
    else if (*c.path == '\0')
      call.Call(static_cast<const char*>(nullptr));
    else
      call.Call(QString::fromLatin1(c.path));
    EXPECT_FALSE(observed.seen.shown);
    ASSERT_EQ(recorder.ui.errors.size(), 1);
    EXPECT_TRUE(
        recorder.ui.errors.first().contains(QString::fromLatin1(c.expectedInError), Qt::CaseInsensitive))
        << qPrintable(recorder.ui.errors.first());
    // Nothing was written: the leftover report row is still there.
    EXPECT_EQ(CountRows(path, "RPTRX"), 1);
    ExpectNoInstanceLeft();
  }
}

TEST(Entry, ReportTableInUseElsewhereEndsTheCallWithAMessage) {
  const QString path = MakeCompanyDatabase("entry-exclusive");
  db::Connection other;
  other.SetConnectPath(path);
  other.SetConnected(true);
  db::Table inUse(other, QStringLiteral("RPTRX.ADT"));
  inUse.Open();
  inUse.EnableEncryption(TDataModule1::GetTablePassword());

  InstalledRecorder recorder;
  ObservedCall observed(path);
  HostCall().Call(path);
  EXPECT_FALSE(observed.seen.shown);
  ASSERT_EQ(recorder.ui.errors.size(), 1);
  EXPECT_TRUE(recorder.ui.errors.first().contains("RPTRX", Qt::CaseInsensitive))
      << qPrintable(recorder.ui.errors.first());
  ExpectNoInstanceLeft();
  inUse.Close();
  other.SetConnected(false);
  EXPECT_EQ(CountRows(path, "RPTRX"), 1);
}

TEST(Entry, ButtonErrorsAreShownAndTheDialogStaysOpen) {
  const QString path = MakeCompanyDatabase("entry-button-error");
  InstalledRecorder recorder;
  bool stillOpen = false, buttonsBack = false, progressClosed = false;
  ObservedCall observed(path, [&](TmyEndUserSolution& dialog) {
    // A "From" period after the "To" period.
    dialog.findChild<QComboBox*>("wwDBLookupComboPrd1")->setCurrentIndex(5);
    dialog.findChild<QComboBox*>("wwDBLookupComboPrd2")->setCurrentIndex(1);
    // A run that fails while the progress window shows closes the window.
    tarno::ShowProgress(5, QStringLiteral("Processing Period: 202406"));
    dialog.findChild<QPushButton*>("BitBtn1")->click();
    progressClosed = FormMsg != nullptr && !FormMsg->isVisible();
    stillOpen = dialog.isVisible();
    buttonsBack = dialog.findChild<QPushButton*>("BitBtn1")->isEnabled() &&
                  dialog.findChild<QPushButton*>("BitBtn4")->isEnabled();
  });
  HostCall().Call(path);
  ASSERT_TRUE(observed.seen.shown);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(buttonsBack);
  EXPECT_TRUE(progressClosed);
  EXPECT_EQ(recorder.ui.errors, QStringList{QStringLiteral("Invalid Period Range!")});
}

TEST(Entry, ProgressWindowLeftShownOverTheDialogIsReleasedOnce) {
  const QString path = MakeCompanyDatabase("entry-progress-left");
  InstalledRecorder recorder;
  bool overTheDialog = false;
  ObservedCall observed(path, [&](TmyEndUserSolution& dialog) {
    tarno::ShowProgress(5, QStringLiteral("left shown"));
    overTheDialog = FormMsg != nullptr && FormMsg->isVisible() && FormMsg->parentWidget() == &dialog;
  });
  HostCall().Call(path);  // the dialog closes with the window still shown: no double release
  ASSERT_TRUE(observed.seen.shown);
  EXPECT_TRUE(overTheDialog);
  EXPECT_TRUE(recorder.ui.errors.isEmpty());
  ExpectNoInstanceLeft();
}

TEST(Entry, LibraryExportsBothEntryPoints) {
  void* library = dlopen(QFile::encodeName(BinaryPath("bin/libtarnotable.so")).constData(), RTLD_NOW);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_NE(dlsym(library, "DLLFmPayForm"), nullptr);
  auto init = reinterpret_cast<void (*)(std::intptr_t, std::intptr_t)>(dlsym(library, "DLLInitProc"));
  ASSERT_NE(init, nullptr);
  init(1, 2);  // does nothing and returns
  ExpectNoInstanceLeft();
  dlclose(library);
}
