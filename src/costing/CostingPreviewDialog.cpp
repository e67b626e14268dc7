// The costing preview: painting on the preview's printer, the zoom, and the export button.
#include "costing/CostingPreviewDialog.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

#include "context/Errors.h"
#include "context/UserInterface.h"
#include "costing/CostingExport.h"
#include "costing/CostingPageGeometry.h"
#include "costing/CostingQuery.h"

namespace tarno::costing {

namespace {

void SetUpLetterPrinter(QPrinter* printer) {
  printer->setResolution(600);
  printer->setDocName(QStringLiteral("Report"));
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  // Positions are measured from the paper's corner; the report keeps its own margins
  // (after the layout, which would otherwise reset it).
  printer->setFullPage(true);
}

}  // namespace

CostingPreviewDialog::CostingPreviewDialog(std::shared_ptr<const CostingReport> report, QWidget* parent)
    : QPrintPreviewDialog(parent), m_report(std::move(report)) {
  SetUpLetterPrinter(printer());
  setWindowTitle(QStringLiteral("Report"));
  connect(this, &QPrintPreviewDialog::paintRequested, this, &CostingPreviewDialog::PaintAllPages);

  m_exportAction = new QAction(QStringLiteral("Export..."), this);
  m_exportAction->setObjectName(QStringLiteral("exportAction"));
  m_exportAction->setToolTip(QStringLiteral("Export the report to PDF, HTML, XLSX, PNG or text"));
  connect(m_exportAction, &QAction::triggered, this, &CostingPreviewDialog::AskAndExport);
  if (auto* toolBar = findChild<QToolBar*>()) {
    toolBar->addSeparator();
    toolBar->addAction(m_exportAction);
  } else {
    addAction(m_exportAction);
  }
  setWindowState(windowState() | Qt::WindowMaximized);
}

CostingPreviewDialog::~CostingPreviewDialog() = default;

void CostingPreviewDialog::showEvent(QShowEvent* event) {
  QPrintPreviewDialog::showEvent(event);
  // The preview sets its own zoom when it first lays out the pages; ours comes after that.
  QTimer::singleShot(0, this, &CostingPreviewDialog::ApplyHundredPercentZoom);
}

void CostingPreviewDialog::ApplyHundredPercentZoom() {
  if (auto* preview = findChild<QPrintPreviewWidget*>()) {
    preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview->setZoomFactor(1.0);
    // Zooming keeps the middle of the view; the operator starts reading at the top of page 1.
    if (auto* view = preview->findChild<QAbstractScrollArea*>()) {
      view->verticalScrollBar()->setValue(view->verticalScrollBar()->minimum());
      view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->minimum());
    }
  }
}

void CostingPreviewDialog::PaintAllPages(QPrinter* printer) {
  QPainter painter;
  if (!painter.begin(printer)) return;
  for (int i = 0; i < m_report->PageCount(); ++i) {
    if (i > 0) printer->newPage();
    m_report->paintPage(i, painter);
  }
  painter.end();
}

QStringList CostingPreviewDialog::ExportTo(const QString& path) {
  try {
    const QStringList written = ExportCostingReport(*m_report, path);
    if (!written.isEmpty()) CurrentUserInterface().OfferToOpen(written.first());
    return written;
  } catch (const Error& e) {
    QMessageBox::critical(this, QStringLiteral("Export"), e.Text());
    return {};
  }
}

void CostingPreviewDialog::AskAndExport() {
  const QStringList filters = CostingExportFilters();
  QString chosenFilter = filters.first();
  QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Export Report"), QStringLiteral("Report.pdf"),
                                   filters.join(QStringLiteral(";;")), &chosenFilter);
  if (path.isEmpty()) return;
  // A name typed without an extension takes the chosen device's.
  if (QFileInfo(path).suffix().isEmpty()) {
    const qsizetype star = chosenFilter.indexOf(QLatin1String("*."));
    path += chosenFilter.mid(star + 1, chosenFilter.indexOf(u')', star) - star - 1);
  }
  ExportTo(path);
}

void ShowCostingPreview(std::shared_ptr<const CostingReport> report, QWidget* parent) {
  CostingPreviewDialog dialog(std::move(report), parent);
  dialog.exec();
}

void ShowCostingPreview(ReportSession& session, QWidget* parent) {
  ShowCostingPreview(std::make_shared<const CostingReport>(ReadCostingReport(session)), parent);
}

}  // namespace tarno::costing
