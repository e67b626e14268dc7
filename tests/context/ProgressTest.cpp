// The progress window and its batch counterpart: the bar's maximum taken only when the window
// passes from hidden to shown, the position kept and wrapped, and the stop request (Escape
// confirmed, or Ctrl-C) ending only the loop during which it was made.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "context/BatchUserInterface.h"
#include "context/GuiUserInterface.h"
#include "context/ScopedInstallation.h"
#include "context/TFormMsg.h"
#include "context/TerminalProgress.h"
#include "entry/RecordingUserInterface.h"

using namespace tarno;
using tarno::test::InstalledRecorder;

namespace {

void PressKey(QWidget& window, int key) {
  QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
}

}  // namespace

TEST(ProgressWindow, FormMatchesTheSpecifiedLayout) {
  TFormMsg form;
  EXPECT_EQ(form.size(), QSize(436, 53));
  EXPECT_EQ(form.ProgressBar1()->geometry(), QRect(5, 27, 428, 20));
  EXPECT_EQ(form.StaticText1()->pos(), QPoint(16, 7));
  EXPECT_EQ(form.ProgressBar1()->minimum(), 0);
  EXPECT_EQ(form.ProgressBar1()->maximum(), 100);
  EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(form.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(form.isVisible());
}

TEST(ProgressWindow, MaximumReachesTheBarOnlyWhenTheWindowIsShownAgain) {
  TFormMsg form;
  form.ShowProgress(3, QStringLiteral("Processing Period: 202403 Employee# E001"));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Progress Bar"));
  EXPECT_EQ(form.StaticText1()->text(), QStringLiteral("Processing Period: 202403 Employee# E001"));
  EXPECT_EQ(form.ProgressBar1()->maximum(), 3);

  // A second loop with more rows while the window is still visible keeps the first maximum.
  ASSERT_TRUE(form.StepProgress());
  form.ShowProgress(50, QStringLiteral("second"));
  EXPECT_EQ(form.ProgressBar1()->maximum(), 3);
  EXPECT_EQ(form.RememberedMaximum(), 50);
  EXPECT_EQ(form.StaticText1()->text(), QStringLiteral("second"));
  EXPECT_EQ(form.ProgressBar1()->value(), 1);

  // Hidden and shown again: the new maximum applies, the position is not reset.
  form.CloseProgress();
  EXPECT_FALSE(form.isVisible());
  form.ShowProgress(50, QStringLiteral("third"));
  EXPECT_EQ(form.ProgressBar1()->maximum(), 50);
  EXPECT_EQ(form.ProgressBar1()->value(), 1);
}

TEST(ProgressWindow, StepsWrapPastTheMaximumBackToTheMinimum) {
  TFormMsg form;
  form.ShowProgress(2, QStringLiteral("wrap"));
  QList<int> seen;
  for (int i = 0; i < 4; ++i) {
    form.StepProgress();
    seen.append(form.ProgressBar1()->value());
  }
  EXPECT_EQ(seen, (QList<int>{1, 2, 0, 1}));
}

TEST(ProgressWindow, StepBeforeAnyShowAdvancesTheHiddenBar) {
  TFormMsg form;
  EXPECT_TRUE(form.StepProgress());
  EXPECT_TRUE(form.StepProgress());
  EXPECT_EQ(form.ProgressBar1()->value(), 2);
  EXPECT_FALSE(form.isVisible());
}

TEST(ProgressWindow, EscapeAsksAndOnlyYesStopsTheCurrentLoop) {
  struct Case {
    const char* name;
    int key;
    QList<bool> answers;
    bool expectedStep;
    int expectedQuestions;
  };
  const Case cases[] = {
      {"Escape answered No goes on", Qt::Key_Escape, {false}, true, 1},
      {"Escape answered Yes stops", Qt::Key_Escape, {true}, false, 1},
      {"another key asks nothing", Qt::Key_A, {true}, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstalledRecorder recorder;
    recorder.ui.answers = c.answers;
    TFormMsg form;
    form.ShowProgress(10, QStringLiteral("loop"));
    PressKey(form, c.key);
    EXPECT_EQ(form.StepProgress(), c.expectedStep);
    EXPECT_EQ(recorder.ui.questions.size(), c.expectedQuestions);
    if (c.expectedQuestions > 0) {
      EXPECT_EQ(recorder.ui.questions.first(), QStringLiteral("Terminate processing ?"));
    }
    // The request is cleared on entry: the next loop runs normally, and Escape never closes the window.
    EXPECT_TRUE(form.StepProgress());
    EXPECT_TRUE(form.isVisible());
  }
}

TEST(ProgressWindow, ShownOverAModalDialogStillReceivesKeysAndOutlivesIt) {
  auto dialog = std::make_unique<QDialog>();
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->show();
  ASSERT_EQ(QApplication::activeModalWidget(), dialog.get());
  TFormMsg form;
  form.ShowProgress(5, QStringLiteral("over the dialog"));
  // As a child window of the modal dialog it is not blocked by it.
  EXPECT_EQ(form.parentWidget(), dialog.get());
  EXPECT_TRUE(form.isWindow());
  form.CloseProgress();
  EXPECT_EQ(form.parentWidget(), nullptr);
  dialog.reset();
  form.ShowProgress(5, QStringLiteral("after the dialog"));  // still alive, shown again
  EXPECT_TRUE(form.isVisible());
  form.CloseProgress();
}

TEST(TerminalProgressBar, FollowsTheWindowsMaximumAndWrapRules) {
  TerminalProgress progress(false);
  progress.ShowProgress(2, QStringLiteral("first"));
  EXPECT_TRUE(progress.Visible());
  progress.StepProgress();
  progress.ShowProgress(40, QStringLiteral("bigger while visible"));
  EXPECT_EQ(progress.Maximum(), 2);
  progress.StepProgress();
  progress.StepProgress();
  EXPECT_EQ(progress.Position(), 0);  // wrapped past 2
  progress.CloseProgress();
  progress.ShowProgress(40, QStringLiteral("shown again"));
  EXPECT_EQ(progress.Maximum(), 40);
  progress.StepProgress();
  EXPECT_EQ(progress.Position(), 1);
  EXPECT_TRUE(progress.BarLine(60).contains(QStringLiteral("shown again")));
  EXPECT_TRUE(progress.BarLine(60).contains(QStringLiteral("  2% ")));
}

TEST(TerminalProgressBar, OneInterruptEndsOnlyTheCurrentLoop) {
  TerminalProgress progress(false);
  progress.ShowProgress(10, QStringLiteral("loop"));
  EXPECT_TRUE(progress.StepProgress());
  std::raise(SIGINT);
  EXPECT_FALSE(progress.StepProgress());
  EXPECT_TRUE(progress.StepProgress());
}

TEST(TerminalProgressBarDeathTest, SecondInterruptBeforeTheFirstIsConsumedAborts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TerminalProgress progress(false);
        std::raise(SIGINT);
        std::raise(SIGINT);
      },
      ::testing::ExitedWithCode(130), "aborting");
}

TEST(TerminalProgressBar, PutsBackThePreviousInterruptHandler) {
  static bool previousCalled = false;
  auto previous = std::signal(SIGINT, [](int) { previousCalled = true; });
  { TerminalProgress progress(false); }
  std::raise(SIGINT);
  EXPECT_TRUE(previousCalled);
  std::signal(SIGINT, previous);
}

TEST(BatchMessages, OneLinePerMessageWithItsKindAndNoAnswerToQuestions) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  BatchUserInterface ui(stream);
  ui.ShowMessage(QStringLiteral("Prepare CSV file!"));
  ui.ShowWarning(QStringLiteral("The field X is missing."));
  ui.ShowError(QStringLiteral("Invalid Period Range!\nsecond line"));
  EXPECT_FALSE(ui.Confirm(QStringLiteral("Terminate processing ?")));
  std::rewind(stream);
  QByteArray written(4096, '\0');
  written.resize(static_cast<int>(std::fread(written.data(), 1, written.size(), stream)));
  std::fclose(stream);
  EXPECT_EQ(QString::fromLocal8Bit(written),
            QStringLiteral("Prepare CSV file!\n"
                           "warning: The field X is missing.\n"
                           "error: Invalid Period Range! second line\n"
                           "Terminate processing ? No (no operator to answer)\n"));
}

TEST(Installation, KeepsAnInterfaceTheCallerInstalledAndRestoresTheSink) {
  BatchUserInterface batch;
  {
    // None installed: the scope installs its own and removes it again.
    ScopedUserInterface scope(batch);
    EXPECT_TRUE(scope.Installed());
    EXPECT_EQ(&CurrentUserInterface(), &batch);
  }
  EXPECT_EQ(InstalledUserInterface(), nullptr);
  {
    InstalledRecorder recorder;
    ScopedUserInterface scope(batch);
    EXPECT_FALSE(scope.Installed());
    EXPECT_EQ(&CurrentUserInterface(), &recorder.ui);
  }

  TerminalProgress first(false), second(false);
  {
    ScopedProgressSink outer(first);
    {
      ScopedProgressSink keep(second, ScopedProgressSink::Policy::KeepInstalled);
      EXPECT_EQ(&CurrentProgressSink(), &first);
      ScopedProgressSink replace(second);
      EXPECT_EQ(&CurrentProgressSink(), &second);
    }
    EXPECT_EQ(&CurrentProgressSink(), &first);
  }
  EXPECT_EQ(InstalledProgressSink(), nullptr);
}

namespace {

// Answers the next message box with `button` as soon as it is shown, and tells its text.
void AnswerNextBox(QMessageBox::StandardButton button, QString* text) {
  QTimer::singleShot(0, [button, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    *text = box->text();
    box->button(button)->click();
  });
}

}  // namespace

TEST(ScreenMessages, BoxesCarryTheTextAndQuestionsTheAnswer) {
  GuiUserInterface ui;
  struct Case {
    const char* name;
    QMessageBox::StandardButton answer;
    bool expected;
  };
  const Case cases[] = {{"Yes", QMessageBox::Yes, true}, {"No", QMessageBox::No, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QString shown;
    AnswerNextBox(c.answer, &shown);
    EXPECT_EQ(ui.Confirm(QStringLiteral("Terminate processing ?")), c.expected);
    EXPECT_EQ(shown, QStringLiteral("Terminate processing ?"));
  }
  QString shown;
  AnswerNextBox(QMessageBox::Ok, &shown);
  ui.ShowError(QStringLiteral("Table P_HTRX does not exist."));
  EXPECT_EQ(shown, QStringLiteral("Table P_HTRX does not exist."));
  AnswerNextBox(QMessageBox::Ok, &shown);
  ui.ShowMessage(QStringLiteral("Prepare CSV file!"));
  EXPECT_EQ(shown, QStringLiteral("Prepare CSV file!"));
}
