// The working template of the variance and year-to-date workbooks: the static template
// HISTORY9.XLSX with one column per EXCELMAP item (caption in row 8, field reference in row 9,
// "SUM" in row 10), saved as Variance.xlsx directly under the reports root.
//
// The working template has one name for every operator, so it is guarded by an exclusive lock on
// a lock file beside it, held from its preparation until the filler has read it: a second
// operator's run waits for the first instead of overwriting its template.
#pragma once

#include <QString>
#include <memory>

#include "context/Table.h"

namespace tarno::outputs {

// An exclusive flock on "<file>.lock"; released when destroyed.
class WorkingTemplateLock {
 public:
  // Waits up to timeoutMs (polling), then throws OutputError naming the file.
  static std::unique_ptr<WorkingTemplateLock> Acquire(const QString& file, int timeoutMs);
  ~WorkingTemplateLock();
  WorkingTemplateLock(const WorkingTemplateLock&) = delete;
  WorkingTemplateLock& operator=(const WorkingTemplateLock&) = delete;

 private:
  explicit WorkingTemplateLock(int descriptor) : m_descriptor(descriptor) {}
  int m_descriptor = -1;
};

// How long a run waits for another operator's working template.
inline constexpr int kWorkingTemplateWaitMs = 60000;

// The working template's path: reports root + "/Variance.xlsx".
QString WorkingTemplatePath();

struct PreparedTemplate {
  QString path;                               // the working template
  std::unique_ptr<WorkingTemplateLock> lock;  // keep until the filler has read the template
};

// Builds the working template from templatePath and the rows of EXCELMAP (reopened here). For
// report kind 9, B2 gets the to-period as "MMM YY" + " YTD Payroll Report"; a to-period without a
// month number fails before anything is saved. Rows without a field get their caption and an empty
// reference cell. The reports root is created when missing.
PreparedTemplate PrepareMappedTemplate(const QString& templatePath, db::Table& excelMap, int reportKind,
                                       const QString& periodTo, int lockTimeoutMs = kWorkingTemplateWaitMs);

}  // namespace tarno::outputs
