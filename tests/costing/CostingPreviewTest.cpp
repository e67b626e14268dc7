// The preview offscreen: maximised, 100% zoom once shown, an "Export..." button in its tool bar,
// and the printer it paints on set to Letter from the paper's corner.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QToolBar>

#include "CostingFixtures.h"
#include "common/TestSupport.h"
#include "context/UserInterface.h"
#include "costing/CostingPreviewDialog.h"

namespace tarno::costing {
namespace {

class SilentInterface final : public UserInterface {
 public:
  SilentInterface() { SetUserInterface(this); }
  ~SilentInterface() override { SetUserInterface(nullptr); }
  void ShowMessage(const QString&) override {}
  void ShowWarning(const QString&) override {}
  void ShowError(const QString& text) override { errors << text; }
  bool Confirm(const QString&) override { return false; }
  void OfferToOpen(const QString& path) override { offered << path; }
  QStringList errors, offered;
};

TEST(CostingPreview, OpensMaximisedAtFullSizeWithAnExportButton) {
  SilentInterface ui;
  CostingPreviewDialog preview(std::make_shared<const CostingReport>(test::TwoCostCentres()), nullptr);
  EXPECT_TRUE(preview.windowState().testFlag(Qt::WindowMaximized));
  EXPECT_TRUE(preview.printer()->fullPage());
  EXPECT_EQ(preview.printer()->pageLayout().pageSize().id(), QPageSize::Letter);
  EXPECT_EQ(preview.printer()->pageLayout().orientation(), QPageLayout::Portrait);

  auto* toolBar = preview.findChild<QToolBar*>();
  ASSERT_NE(toolBar, nullptr);
  EXPECT_TRUE(toolBar->actions().contains(preview.ExportAction()));
  EXPECT_EQ(preview.ExportAction()->text(), "Export...");

  preview.show();
  QApplication::processEvents();
  QApplication::processEvents();
  auto* pages = preview.findChild<QPrintPreviewWidget*>();
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->pageCount(), 2);
  EXPECT_EQ(pages->zoomMode(), QPrintPreviewWidget::CustomZoom);
  EXPECT_DOUBLE_EQ(pages->zoomFactor(), 1.0);

  // A picture for review: $TARNO_SCREENSHOTS/CostingPreview.png when set.
  if (!qEnvironmentVariableIsEmpty("TARNO_SCREENSHOTS")) {
    EXPECT_TRUE(preview.grab().save(qEnvironmentVariable("TARNO_SCREENSHOTS") +
                                    QStringLiteral("/CostingPreview.png")));
  }

  const QString folder = tarno::test::ScratchFolder(QStringLiteral("preview-export"));
  const QStringList written = preview.ExportTo(folder + QStringLiteral("/from-preview.pdf"));
  ASSERT_EQ(written.size(), 1);
  EXPECT_TRUE(QFileInfo::exists(written[0]));
  EXPECT_EQ(ui.offered, written);
  preview.close();
}

}  // namespace
}  // namespace tarno::costing
