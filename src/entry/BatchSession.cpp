// The batch session's start-up and teardown: the entry's steps without a screen. The jobs
// (Process, Report, Mapping) are in their own files.
#include "entry/BatchSession.h"

#include "context/Settings.h"
#include "entry/BatchSessionPrivate.h"
#include "entry/EntryStartUp.h"

namespace tarno {
namespace {

std::intptr_t PointerSlot(const QByteArray& text) {
  return reinterpret_cast<std::intptr_t>(text.constData());
}

}  // namespace

BatchSession::BatchSession(const BatchContext& context) : d(std::make_unique<Private>()) {
  d->context = context;
  d->ui = std::make_unique<BatchUserInterface>();
  d->progress = std::make_unique<TerminalProgress>();
  d->uiScope = std::make_unique<ScopedUserInterface>(*d->ui);
  d->progressScope =
      std::make_unique<ScopedProgressSink>(*d->progress, ScopedProgressSink::Policy::KeepInstalled);

  // The context block as the host would pass it.
  d->condition1Text = context.condition1.toLocal8Bit();
  d->condition2Text = context.condition2.toLocal8Bit();
  d->userIdText = context.userId.toLocal8Bit();
  d->companyTitleText = context.companyTitle.toLocal8Bit();
  HostContextBlock block;
  block.values[5] = PointerSlot(d->condition1Text);
  block.values[6] = PointerSlot(d->condition2Text);
  block.values[10] = PointerSlot(d->userIdText);
  block.values[11] = context.payYear;
  block.values[12] = context.payMonth;
  block.values[17] = context.reportFolderNo;
  block.values[19] = PointerSlot(d->companyTitleText);

  SetReportsRoot(context.reportsRoot);
  SetTemplatesFolder(context.templates);

  try {
    d->dataModule = std::make_unique<TDataModule1>();
    ConnectDataModule(*d->dataModule, block, context.databasePath);
    d->session = std::make_unique<ReportSession>(*d->dataModule, d->state);
    d->kindLocked = KindLockedBySite(*d->dataModule);
    // The dialog's FormShow: the database steps, including the emptying of RPTRX.
    d->session->FormShow();
  } catch (...) {
    // The destructor does not run for a constructor that throws: tear down here.
    d->session.reset();
    d->dataModule.reset();
    SetReportsRoot(QString());
    SetTemplatesFolder(QString());
    throw;
  }
}

BatchSession::~BatchSession() {
  d->session.reset();
  d->dataModule.reset();
  SetReportsRoot(QString());
  SetTemplatesFolder(QString());
  d->progressScope.reset();
  d->uiScope.reset();
}

}  // namespace tarno
