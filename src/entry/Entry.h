// The whole life of the module in one call: progress window, data module, context block,
// connection, PAYPARA1 and the date format, the report dialog (with the "OTCOMP" lock and its
// FormShow), the modal show, and the teardown (dialog, progress window, data module). Any
// exception during those steps is shown in a message box and the call returns normally.
#pragma once

#include <QString>
#include <functional>

#include "context/HostContext.h"

namespace tarno {

class TFormMsg;
class TmyEndUserSolution;

// The call's single instances; null outside a call (DataModule1 is declared with the data module).
extern TFormMsg* FormMsg;
extern TmyEndUserSolution* myEndUserSolution;

// The lifecycle behind DLLFmPayForm; needs a QApplication. Never throws.
void RunPayForm(const HostContextBlock& context, const QString& databasePath);

// Called with the dialog after its FormShow and right before the modal loop starts; tests use it to
// look at the dialog and to close it. Empty: no hook.
void SetDialogShownHook(std::function<void(TmyEndUserSolution&)> hook);

}  // namespace tarno
