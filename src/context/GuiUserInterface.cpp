// QMessageBox implementations of the operator's messages, and the scoped installation of the
// module's UserInterface and ProgressSink.
#include "context/GuiUserInterface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace tarno {
namespace {

// Boxes belong to the window the operator works in, so that they appear above it.
QWidget* BoxParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

// The title every box of the module shows: the application's name, as the platform's plain
// message box does.
QString BoxTitle() {
  const QString name = QCoreApplication::applicationName();
  return name.isEmpty() ? QStringLiteral("tarnotable") : name;
}

}  // namespace

void GuiUserInterface::ShowMessage(const QString& text) {
  QMessageBox::information(BoxParent(), BoxTitle(), text, QMessageBox::Ok);
}

void GuiUserInterface::ShowWarning(const QString& text) {
  QMessageBox::warning(BoxParent(), BoxTitle(), text, QMessageBox::Ok);
}

void GuiUserInterface::ShowError(const QString& text) {
  QMessageBox::critical(BoxParent(), BoxTitle(), text, QMessageBox::Ok);
}

bool GuiUserInterface::Confirm(const QString& text) {
  return QMessageBox::question(BoxParent(), BoxTitle(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void GuiUserInterface::OfferToOpen(const QString& path) {
  const QString question =
      QStringLiteral("The file %1 has been written. Open it now?").arg(QDir::toNativeSeparators(path));
  if (Confirm(question)) QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

}  // namespace tarno
