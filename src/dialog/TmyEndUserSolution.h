// The report dialog "Pivot Table Report": the operator's period range, pay cycle, report kind and
// options, and the buttons that start a run. It implements DialogState for the run driver and owns
// the ReportSession (the dialog's data components and its non-visual operations).
//
// Order of use (the entry): construct (after the data module) -> FormShow (database steps, period
// lists; its errors reach the entry's guard) -> exec -> destroy.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "dialog/DialogState.h"

namespace Ui {
class TmyEndUserSolution;
}
class QButtonGroup;
class QComboBox;

namespace tarno {

class TDataModule1;
class ReportSession;

class TmyEndUserSolution final : public QDialog, public DialogState {
  Q_OBJECT

 public:
  explicit TmyEndUserSolution(TDataModule1& dataModule, QWidget* parent = nullptr);
  ~TmyEndUserSolution() override;

  ReportSession& Session() const { return *m_session; }

  // The database steps of the session, then both period lists filled with the twelve periods of
  // the payroll year and PayMonth selected in both. Throws tarno::Error; the entry's guard shows it.
  void FormShow();

  // The report-kind combo wwDBComboBox1 (disabled by the entry when "OTCOMP" is on).
  QComboBox* ReportKindCombo() const;

  // DialogState.
  QString PeriodFromText() const override;
  QString PeriodToText() const override;
  int CycleIndex() const override;
  bool IncludedSpecial() const override;
  bool IncludedBonus() const override;
  bool ShowHeadCount() const override;
  bool CostCentreBreakdown() const override;
  bool ExportCsv() const override;
  int ReportKind() const override;
  QString ReportKindText() const override;
  QString ReportKindValue() const override;
  void SetRunButtonsEnabled(bool enabled) override;

 public slots:
  // Process: RunReport("XLS").
  void BitBtn1Click();
  // Report: AdsTableCode opened if needed, RunReport("rpt"), then the costing preview.
  void BitBtn4Click();
  // Setup (hidden): the allowance code mapping form.
  void BitBtn3Click();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Runs a button's work; a tarno::Error (or any other exception) is shown in an error box and the
  // dialog stays open, as no exception may leave a slot.
  void RunGuarded(const std::function<void()>& work);
  // The same for a run: Process and Report disabled while it lasts.
  void RunWithRunButtonsDisabled(const std::function<void()>& run);

  std::unique_ptr<Ui::TmyEndUserSolution> ui;
  QButtonGroup* m_cycleGroup = nullptr;  // RadioGroupCycle's items, ids 0..5
  TDataModule1& m_dataModule;
  std::unique_ptr<ReportSession> m_session;
};

}  // namespace tarno
