// The batch session's Mapping job: the allowance code mapping form after the dialog's start-up,
// with message boxes for its errors, since the form is on the screen.
#include <QApplication>

#include "context/Errors.h"
#include "context/GuiUserInterface.h"
#include "context/ScopedInstallation.h"
#include "entry/BatchSessionPrivate.h"
#include "mapping/AllowanceMapping.h"

namespace tarno {

namespace {

// Message boxes instead of the batch mode's standard error while the form is shown; an interface
// that the caller installed (a test's) is kept. The previous one comes back afterwards.
class GuiMessagesWhileShown {
 public:
  explicit GuiMessagesWhileShown(const UserInterface* batchInterface) : m_previous(InstalledUserInterface()) {
    if (m_previous == nullptr || m_previous == batchInterface) SetUserInterface(&m_gui);
  }
  ~GuiMessagesWhileShown() { SetUserInterface(m_previous); }
  GuiMessagesWhileShown(const GuiMessagesWhileShown&) = delete;
  GuiMessagesWhileShown& operator=(const GuiMessagesWhileShown&) = delete;

 private:
  GuiUserInterface m_gui;
  UserInterface* m_previous;
};

}  // namespace

void BatchSession::Mapping() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    throw Error(
        QStringLiteral("The allowance code mapping form needs a screen: no application window is running."));
  GuiMessagesWhileShown messages(d->ui.get());
  mapping::RunAllowanceMapping(*d->dataModule, nullptr);
}

}  // namespace tarno
