// The operator's choices as the report dialog holds them. The Qt dialog TmyEndUserSolution and the
// launcher's command-line options both implement it; RunReport, the extraction and the outputs
// read the choices only through it, afresh at each decision.
#pragma once

#include <QString>

namespace tarno {

// The report kinds: index, display text and template file name.
struct ReportKindItem {
  int index;
  const char* displayText;
  const char* templateName;
};
inline constexpr ReportKindItem kReportKinds[] = {
    {0, "Payroll Analysis Report", "HISTORY1.XLSX"},
    {1, "Payroll Analysis Report (Departmart Code)", "HISTORY2.XLSX"},
    {2, "Payroll Analysis Report (Division Code)", "HISTORY3.XLSX"},
    {3, "Payroll Analysis Report (Code+Desc)", "HISTORY4.XLSX"},
    {4, "Payroll Analysis Report (Summary)", "HISTORY5.XLSX"},
    {5, "Payroll Analysis Report (Occup Desc)", "HISTORY6.XLSX"},
    {6, "Payroll Analysis Report (Dept Desc)", "HISTORY7.XLSX"},
    {7, "Payroll Report (Dept & CostCtr Desc)", "HISTORY8.XLSX"},
    {8, "Payroll Variance Report", "HISTORY9.XLSX"},
    {9, "YTD Payroll Report ", "HISTORY9.XLSX"},
};

// Items of the pay-cycle radio group RadioGroupCycle, by index.
enum CycleItem {
  kMidMonth = 0,
  kEndMonth = 1,
  kSpecialPeriod = 2,
  kBonusPeriod = 3,
  kFullMonth = 4,
  kMidAndEnd = 5
};

class DialogState {
 public:
  virtual ~DialogState() = default;
  virtual QString PeriodFromText() const = 0;    // wwDBLookupComboPrd1
  virtual QString PeriodToText() const = 0;      // wwDBLookupComboPrd2
  virtual int CycleIndex() const = 0;            // RadioGroupCycle
  virtual bool IncludedSpecial() const = 0;      // SpecBox
  virtual bool IncludedBonus() const = 0;        // BonusBox
  virtual bool ShowHeadCount() const = 0;        // chkHead
  virtual bool CostCentreBreakdown() const = 0;  // CheckBoxCTR
  virtual bool ExportCsv() const = 0;            // chkcsv
  // wwDBComboBox1: the item index, or -1 for a typed text that matches no item.
  virtual int ReportKind() const = 0;
  // The item's display text and value (template file name); for -1 the typed text and "".
  virtual QString ReportKindText() const = 0;
  virtual QString ReportKindValue() const = 0;
  // BitBtn1 (Process) and BitBtn4 (Report) during a run.
  virtual void SetRunButtonsEnabled(bool enabled) = 0;
};

}  // namespace tarno
