// The dialog's Setup button and the launcher's mapping command: the allowance code mapping form,
// created, shown modally and released, also when showing it ends with an error.
#pragma once

class QWidget;

namespace tarno {
class TDataModule1;
}

namespace tarno::mapping {

// Errors of the form's start (the query cannot open) propagate after the form is released.
void RunAllowanceMapping(TDataModule1& dataModule, QWidget* parent);

}  // namespace tarno::mapping
