// What a BatchSession holds between its start-up and its teardown. Shared by the files that
// implement the session's jobs.
#pragma once

#include <QByteArray>
#include <memory>

#include "context/BatchUserInterface.h"
#include "context/DataModule.h"
#include "context/ScopedInstallation.h"
#include "context/TerminalProgress.h"
#include "dialog/ReportSession.h"
#include "entry/BatchSession.h"
#include "entry/CommandLineDialogState.h"

namespace tarno {

struct BatchSession::Private {
  BatchContext context;
  // The texts that the context block's pointer slots point to; they live as long as the session.
  QByteArray condition1Text, condition2Text, userIdText, companyTitleText;
  // The operator's messages on standard error and the terminal progress bar, installed for the
  // session (a UserInterface or ProgressSink the caller installed first is kept).
  std::unique_ptr<BatchUserInterface> ui;
  std::unique_ptr<TerminalProgress> progress;
  std::unique_ptr<ScopedUserInterface> uiScope;
  std::unique_ptr<ScopedProgressSink> progressScope;
  // Teardown in reverse order: session (the dialog), then the data module.
  std::unique_ptr<TDataModule1> dataModule;
  CommandLineDialogState state;
  std::unique_ptr<ReportSession> session;
  bool kindLocked = false;  // the "OTCOMP" switch: only kind 0 may run
};

}  // namespace tarno
