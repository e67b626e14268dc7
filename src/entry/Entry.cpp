// The exported entry and its lifecycle. The steps run in the specified order inside one guard: a
// tarno::Error (or any other exception, since none may cross the export) is shown in a message
// box through the installed UserInterface and the call returns. The objects created before an
// error are released too, in the teardown order.
#include "entry/Entry.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <cstdio>
#include <memory>

#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/GuiUserInterface.h"
#include "context/ScopedInstallation.h"
#include "context/TFormMsg.h"
#include "dialog/TmyEndUserSolution.h"
#include "entry/EntryStartUp.h"
#include "entry/Exports.h"

namespace tarno {

TFormMsg* FormMsg = nullptr;
TmyEndUserSolution* myEndUserSolution = nullptr;

namespace {

std::function<void(TmyEndUserSolution&)> g_dialogShownHook;

// The three instances of a call, released in the specified order whatever ends the call.
struct CallInstances {
  std::unique_ptr<TFormMsg> formMsg;
  std::unique_ptr<TDataModule1> dataModule;
  std::unique_ptr<TmyEndUserSolution> dialog;

  ~CallInstances() {
    myEndUserSolution = nullptr;
    // A progress window left shown over the dialog is the dialog's child window: take it back
    // first, so that releasing the dialog does not free it as well.
    if (formMsg != nullptr && formMsg->parentWidget() != nullptr) {
      formMsg->hide();
      formMsg->setParent(nullptr, formMsg->windowFlags());
    }
    dialog.reset();
    FormMsg = nullptr;
    formMsg.reset();
    dataModule.reset();  // its destructor disconnects and empties DataModule1
  }
};

void ShowGuardedError(const QString& text) {
  CurrentUserInterface().ShowError(text);
}

void PayFormSteps(CallInstances& call, const HostContextBlock& context, const QString& databasePath) {
  // 1. The application icon, so that the module's windows show it.
  if (QFile::exists(QStringLiteral(":/MAINICON")))
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
  // 2. The progress window, with no owner; it is already the installed progress sink.
  FormMsg = call.formMsg.get();
  // 3. The data module: credentials and VARDO.Ini.
  call.dataModule = std::make_unique<TDataModule1>();
  // 4.-8. Context block, connection, date format, PAYPARA1 on the payroll year.
  ConnectDataModule(*call.dataModule, context, databasePath);
  // 9. The dialog, after the data module that its components bind to.
  call.dialog = std::make_unique<TmyEndUserSolution>(*call.dataModule);
  myEndUserSolution = call.dialog.get();
  // 10. The site switch: only the default report kind.
  if (KindLockedBySite(*call.dataModule)) call.dialog->ReportKindCombo()->setEnabled(false);
  // FormShow's steps run here, inside the guard, so that their errors end the call with a message.
  call.dialog->FormShow();
  if (g_dialogShownHook) g_dialogShownHook(*call.dialog);
  // 11. Modal until the operator closes the dialog.
  call.dialog->exec();
}

}  // namespace

void SetDialogShownHook(std::function<void(TmyEndUserSolution&)> hook) {
  g_dialogShownHook = std::move(hook);
}

void RunPayForm(const HostContextBlock& context, const QString& databasePath) {
  GuiUserInterface gui;
  ScopedUserInterface uiScope(gui);
  try {
    CallInstances call;
    call.formMsg = std::make_unique<TFormMsg>();
    ScopedProgressSink progressScope(*call.formMsg);
    try {
      PayFormSteps(call, context, databasePath);
    } catch (const Error& e) {
      ShowGuardedError(e.Text());
    } catch (const std::exception& e) {
      ShowGuardedError(QStringLiteral("An unexpected error ended the report dialog: %1")
                           .arg(QString::fromLocal8Bit(e.what())));
    }
    // 12. Teardown: dialog, progress window, data module (CallInstances), after the progress sink
    // that points to the window has been put back.
  } catch (...) {
    ShowGuardedError(QStringLiteral("An unexpected error ended the report dialog."));
  }
}

}  // namespace tarno

namespace {

// The host's connect path; a null pointer reads as an empty text.
QString PathText(const char* path) {
  return path == nullptr ? QString() : QString::fromLocal8Bit(path);
}

}  // namespace

extern "C" {

void DLLFmPayForm(std::intptr_t s1, std::intptr_t s2, std::intptr_t s3, std::intptr_t s4, std::intptr_t s5,
                  std::intptr_t s6, std::intptr_t s7, std::intptr_t s8, std::intptr_t s9, std::intptr_t s10,
                  std::intptr_t s11, std::intptr_t s12, std::intptr_t s13, std::intptr_t s14,
                  std::intptr_t s15, std::intptr_t s16, std::intptr_t s17, std::intptr_t s18,
                  std::intptr_t s19, std::intptr_t s20, const char* databasePath) {
  try {
    tarno::HostContextBlock context;
    context.values = {s1,  s2,  s3,  s4,  s5,  s6,  s7,  s8,  s9,  s10,
                      s11, s12, s13, s14, s15, s16, s17, s18, s19, s20};
    // A host without a Qt application gets one for the length of the call.
    std::unique_ptr<QApplication> ownApplication;
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "tarnotable";
      static char* argv[] = {name, nullptr};
      ownApplication = std::make_unique<QApplication>(argc, argv);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
      std::fputs(
          "tarnotable: the report dialog needs a QApplication, but the host created a non-graphical "
          "application object.\n",
          stderr);
      return;
    }
    tarno::RunPayForm(context, PathText(databasePath));
  } catch (...) {
    // Nothing may cross the export; RunPayForm has shown what it could.
  }
}

void DLLInitProc(std::intptr_t a, std::intptr_t b) {
  (void)a;
  (void)b;
}
}
