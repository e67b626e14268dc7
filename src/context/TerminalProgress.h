// The progress window without a screen: a one-line bar on standard error (only when standard
// error is a terminal) and Ctrl-C as the operator's stop request. The first SIGINT is the
// confirmed stop request that the next StepProgress consumes (ending only the loop in progress);
// a second SIGINT before that one was consumed aborts the program with status 130.
//
// Order of use as for the progress window: ShowProgress ... StepProgress ... CloseProgress. The
// SIGINT handler is installed by the constructor and the previous one put back by the destructor.
#pragma once

#include <QElapsedTimer>
#include <QString>

#include "context/UserInterface.h"

namespace tarno {

class TerminalProgress final : public ProgressSink {
 public:
  // drawBar: whether to draw the bar; by default when standard error is a terminal.
  TerminalProgress();
  explicit TerminalProgress(bool drawBar);
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void ShowProgress(int maximum, const QString& message) override;
  bool StepProgress() override;
  void CloseProgress() override;

  bool Visible() const { return m_visible; }
  int Position() const { return m_position; }
  int Maximum() const { return m_maximum; }
  // The bar line as drawn (without the leading carriage return), for the current state.
  QString BarLine(int width = 80) const;

  // What one SIGINT does, callable without a signal (tests): true when this request aborts
  // because an earlier one was still pending.
  static bool RequestStop();

 private:
  void Draw(bool force);
  void ClearLine();

  bool m_drawBar = false;
  bool m_visible = false;
  int m_position = 0;   // 0 .. m_maximum; wraps to 0 past the maximum
  int m_maximum = 100;  // applied when the bar passes from hidden to shown
  int m_rememberedMaximum = 100;
  QString m_message;
  QElapsedTimer m_sinceDraw;          // redraws at most every 100 ms, so a fast loop stays fast
  void* m_previousHandler = nullptr;  // the struct sigaction that was installed before
};

}  // namespace tarno
