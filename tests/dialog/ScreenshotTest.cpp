// Pictures of the report dialog after its FormShow and of the progress window during a loop,
// grabbed from the real widgets. tools/screenshots/regenerate.sh runs these with
// TARNO_SCREENSHOT_DIR set to keep the pictures; otherwise they go to a scratch folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>

#include "context/DataModule.h"
#include "context/TFormMsg.h"
#include "dialog/TmyEndUserSolution.h"
#include "entry/CompanyFixture.h"

using namespace tarno;

namespace {

QString PictureFolder() {
  const QString folder = qEnvironmentVariable("TARNO_SCREENSHOT_DIR");
  if (folder.isEmpty()) return test::ScratchFolder(QStringLiteral("screenshots"));
  QDir().mkpath(folder);
  return folder;
}

// Grabs the widget, saves it, and checks that the picture is the widget's whole client area and
// not one flat colour.
void SavePicture(QWidget& widget, const QString& fileName) {
  QApplication::processEvents();
  const QImage image = widget.grab().toImage();
  ASSERT_EQ(image.size(), widget.size());
  bool varied = false;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height() && !varied; y += 3)
    for (int x = 0; x < image.width() && !varied; x += 3) varied = image.pixel(x, y) != first;
  EXPECT_TRUE(varied);
  const QString path = PictureFolder() + u'/' + fileName;
  ASSERT_TRUE(image.save(path)) << qPrintable(path);
}

}  // namespace

TEST(Screenshot, ReportDialogAfterFormShow) {
  const QString path = test::MakeCompanyDatabase("screenshot-dialog");
  TDataModule1 dm;
  dm.AdsConnection1.SetConnectPath(path);
  dm.AdsConnection1.SetConnected(true);
  dm.Context.values[11] = 2024;
  dm.Context.values[12] = 3;
  TmyEndUserSolution dialog(dm);
  dialog.FormShow();
  dialog.show();
  SavePicture(dialog, QStringLiteral("report-dialog.png"));
  dialog.hide();
}

TEST(Screenshot, ProgressWindowDuringALoop) {
  TFormMsg form;
  form.ShowProgress(40, QStringLiteral("Processing Period: 202403 Employee# E0007"));
  for (int i = 0; i < 17; ++i) form.StepProgress();
  SavePicture(form, QStringLiteral("progress-window.png"));
  form.CloseProgress();
}
