// The progress window's procedures. A QDialog stands in for the specified form; its default
// Escape handling (closing the dialog) is replaced by the stop question.
#include "context/TFormMsg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "ui_TFormMsg.h"

namespace tarno {
namespace {
// One module-wide request, as the loops that ask only see StepProgress's answer.
bool g_stopRequested = false;
}  // namespace

TFormMsg::TFormMsg(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TFormMsg>()) {
  ui->setupUi(this);
  setFixedSize(436, 53);
  setModal(false);
}

TFormMsg::~TFormMsg() = default;

QProgressBar* TFormMsg::ProgressBar1() const {
  return ui->ProgressBar1;
}
QLabel* TFormMsg::StaticText1() const {
  return ui->StaticText1;
}
bool TFormMsg::StopRequested() {
  return g_stopRequested;
}

void TFormMsg::ShowProgress(int maximum, const QString& message) {
  setWindowTitle(QStringLiteral("Progress Bar"));
  m_maximum = maximum;
  if (!isVisible()) {
    // An application-modal dialog blocks input to every window that is not its child; as a
    // child of it the progress window still receives the Escape key.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this && parentWidget() != modal) setParent(modal, windowFlags());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
    show();
  }
  ui->StaticText1->setText(message);
  ui->StaticText1->repaint();
}

bool TFormMsg::StepProgress() {
  g_stopRequested = false;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QProgressBar* bar = ui->ProgressBar1;
  // A step past the maximum starts the bar again from its minimum, as the stepped bar always has.
  const int next = bar->value() + 1;
  bar->setValue(next > bar->maximum() ? bar->minimum() : next);
  return !g_stopRequested;
}

void TFormMsg::CloseProgress() {
  hide();
  // Back to no owner, so that the window outlives the dialog that it was shown over.
  if (parentWidget() != nullptr) setParent(nullptr, windowFlags());
}

void TFormMsg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormMsg::FormShow() {
  QProgressBar* bar = ui->ProgressBar1;
  // The position is kept; a new range that no longer holds it pulls it to the nearest end.
  const int position = bar->value();
  bar->setRange(0, m_maximum);
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void TFormMsg::keyPressEvent(QKeyEvent* event) {
  FormKeyDown(event->key());
}

void TFormMsg::FormKeyDown(int key) {
  if (key != Qt::Key_Escape) return;
  if (CurrentUserInterface().Confirm(QStringLiteral("Terminate processing ?"))) g_stopRequested = true;
}

void TFormMsg::reject() {
  hide();
}

}  // namespace tarno
