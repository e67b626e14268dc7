#include "entry/CommandLineDialogState.h"

namespace tarno {

QString CommandLineDialogState::ReportKindText() const {
  for (const ReportKindItem& item : kReportKinds)
    if (item.index == m_choices.reportKind) return QString::fromLatin1(item.displayText);
  return QString();
}

QString CommandLineDialogState::ReportKindValue() const {
  for (const ReportKindItem& item : kReportKinds)
    if (item.index == m_choices.reportKind) return QString::fromLatin1(item.templateName);
  return QString();
}

}  // namespace tarno
