// Create, show modally, release.
#include "mapping/AllowanceMapping.h"

#include <memory>

#include "mapping/TFormAW.h"

namespace tarno::mapping {

void RunAllowanceMapping(TDataModule1& dataModule, QWidget* parent) {
  // The unique_ptr releases the form on every way out, errors included.
  auto form = std::make_unique<TFormAW>(dataModule, parent);
  form->FormShow();
  form->exec();
}

}  // namespace tarno::mapping
