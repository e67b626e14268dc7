// The print preview of the costing report: a maximised QPrintPreviewDialog at 100% zoom, from
// which the operator prints, with an "Export..." button that writes the report through one of the
// export devices. For the GUI only; the batch mode exports directly.
#pragma once

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "costing/CostingReport.h"

class QAction;

namespace tarno {
class ReportSession;
}

namespace tarno::costing {

class CostingPreviewDialog : public QPrintPreviewDialog {
  Q_OBJECT
 public:
  CostingPreviewDialog(std::shared_ptr<const CostingReport> report, QWidget* parent);
  ~CostingPreviewDialog() override;

  QAction* ExportAction() const { return m_exportAction; }
  // Writes the report to `path` with the device of its extension; errors go to an error box.
  // Returns the files written (none after an error).
  QStringList ExportTo(const QString& path);

 private:
  void PaintAllPages(QPrinter* printer);
  void AskAndExport();
  void ApplyHundredPercentZoom();

  std::shared_ptr<const CostingReport> m_report;
  QAction* m_exportAction = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

// Shows the preview of a report, modally.
void ShowCostingPreview(std::shared_ptr<const CostingReport> report, QWidget* parent);
// The dialog's Report button after RunReport("rpt"): reads the report of CurrentPeriod from
// QueryRPT (see ReadCostingReport) and shows its preview, modally.
void ShowCostingPreview(ReportSession& session, QWidget* parent);

}  // namespace tarno::costing
