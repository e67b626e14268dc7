// The dialog's choices taken from the launcher's RUN options, for runs without a screen.
#pragma once

#include "dialog/DialogState.h"
#include "entry/BatchSession.h"

namespace tarno {

class CommandLineDialogState final : public DialogState {
 public:
  void SetChoices(const RunChoices& choices) { m_choices = choices; }
  const RunChoices& Choices() const { return m_choices; }

  QString PeriodFromText() const override { return m_choices.periodFrom; }
  QString PeriodToText() const override { return m_choices.periodTo; }
  int CycleIndex() const override { return m_choices.cycleIndex; }
  bool IncludedSpecial() const override { return m_choices.includedSpecial; }
  bool IncludedBonus() const override { return m_choices.includedBonus; }
  bool ShowHeadCount() const override { return m_choices.showHeadCount; }
  bool CostCentreBreakdown() const override { return m_choices.costCentreBreakdown; }
  bool ExportCsv() const override { return m_choices.exportCsv; }
  int ReportKind() const override { return m_choices.reportKind; }
  QString ReportKindText() const override;
  QString ReportKindValue() const override;
  void SetRunButtonsEnabled(bool enabled) override { m_runButtonsEnabled = enabled; }
  bool RunButtonsEnabled() const { return m_runButtonsEnabled; }

 private:
  RunChoices m_choices;
  bool m_runButtonsEnabled = true;
};

}  // namespace tarno
