// The progress window: a small non-modal window with a message line and a bar that long loops
// advance through ShowProgress / StepProgress / CloseProgress, and in which Escape (confirmed)
// asks the loop in progress to stop. Installed as the module's ProgressSink during an entry call.
//
// Order of use: ShowProgress (shows; the bar takes the remembered maximum only when the window
// passes from hidden to shown) ... StepProgress (clears the stop request, lets the screen work,
// steps the bar, answers false when a stop was confirmed meanwhile) ... CloseProgress (hides).
#pragma once

#include <QDialog>
#include <memory>

#include "context/UserInterface.h"

namespace Ui {
class TFormMsg;
}
class QProgressBar;
class QLabel;

namespace tarno {

class TFormMsg final : public QDialog, public ProgressSink {
  Q_OBJECT

 public:
  explicit TFormMsg(QWidget* parent = nullptr);
  ~TFormMsg() override;

  void ShowProgress(int maximum, const QString& message) override;
  bool StepProgress() override;
  void CloseProgress() override;

  QProgressBar* ProgressBar1() const;
  QLabel* StaticText1() const;
  int RememberedMaximum() const { return m_maximum; }

  // The module-wide stop request: set by FormKeyDown, cleared and read by StepProgress.
  static bool StopRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The window has no close box; closing it from outside only hides it.
  void reject() override;

 private:
  // Bar minimum 0, maximum the remembered maximum, step 1; the position is kept.
  void FormShow();
  // Escape asks "Terminate processing ?"; Yes sets the stop request.
  void FormKeyDown(int key);

  std::unique_ptr<Ui::TFormMsg> ui;
  int m_maximum = 100;  // remembered by ShowProgress, applied when the window is shown
};

}  // namespace tarno
