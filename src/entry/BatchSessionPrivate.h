// What a BatchSession holds between its start-up and its teardown. Shared by the files that
// implement the session's jobs.
#pragma once

#include <memory>

#include "context/DataModule.h"
#include "dialog/ReportSession.h"
#include "entry/BatchSession.h"
#include "entry/CommandLineDialogState.h"

namespace tarno {

struct BatchSession::Private {
  BatchContext context;
  // Teardown in reverse order: session (the dialog), then the data module.
  std::unique_ptr<TDataModule1> dataModule;
  CommandLineDialogState state;
  std::unique_ptr<ReportSession> session;
  bool kindLocked = false;  // the "OTCOMP" switch: only kind 0 may run
};

}  // namespace tarno
