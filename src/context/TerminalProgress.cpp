// The terminal progress bar and the SIGINT stop request. The signal handler only touches an
// atomic flag and writes with write(2), both safe inside a handler.
#include "context/TerminalProgress.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace tarno {
namespace {

std::atomic<bool> g_stopPending{false};

void OnInterrupt(int) {
  if (TerminalProgress::RequestStop()) {
    static const char kAbort[] = "\nInterrupted twice: aborting.\n";
    (void)!write(STDERR_FILENO, kAbort, sizeof kAbort - 1);
    _exit(130);
  }
  static const char kStop[] = "\nStop requested: the current step ends. Press Ctrl-C again to abort.\n";
  (void)!write(STDERR_FILENO, kStop, sizeof kStop - 1);
}

}  // namespace

bool TerminalProgress::RequestStop() {
  return g_stopPending.exchange(true);
}

TerminalProgress::TerminalProgress() : TerminalProgress(isatty(STDERR_FILENO) == 1) {}

TerminalProgress::TerminalProgress(bool drawBar) : m_drawBar(drawBar) {
  g_stopPending = false;
  auto* previous = new struct sigaction;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (sigaction(SIGINT, &action, previous) == 0) {
    m_previousHandler = previous;
  } else {
    delete previous;
  }
}

TerminalProgress::~TerminalProgress() {
  if (m_visible) ClearLine();
  if (auto* previous = static_cast<struct sigaction*>(m_previousHandler)) {
    sigaction(SIGINT, previous, nullptr);
    delete previous;
  }
  g_stopPending = false;
}

void TerminalProgress::ShowProgress(int maximum, const QString& message) {
  m_rememberedMaximum = maximum;
  if (!m_visible) {
    // As the window does: a new maximum reaches the bar only when it passes from hidden to shown.
    m_visible = true;
    m_maximum = std::max(0, m_rememberedMaximum);
    m_position = std::min(m_position, m_maximum);
  }
  m_message = message;
  Draw(true);
}

bool TerminalProgress::StepProgress() {
  // A pending Ctrl-C is the confirmed request of this step; consuming it lets the next loop run.
  const bool stop = g_stopPending.exchange(false);
  m_position = m_position + 1 > m_maximum ? 0 : m_position + 1;
  Draw(false);
  return !stop;
}

void TerminalProgress::CloseProgress() {
  if (m_visible) ClearLine();
  m_visible = false;
}

QString TerminalProgress::BarLine(int width) const {
  const int percent = m_maximum > 0 ? static_cast<int>(100LL * m_position / m_maximum) : 0;
  const QString counter = QStringLiteral(" %1% ").arg(percent, 3);
  const int barWidth = std::max(10, width / 3);
  const int filled =
      m_maximum > 0 ? static_cast<int>(static_cast<long long>(barWidth) * m_position / m_maximum) : 0;
  QString line = u'[' + QString(filled, u'#') + QString(barWidth - filled, u' ') + u']' + counter;
  const int room = width - 1 - line.size();
  if (room > 0) line += m_message.left(room);
  return line;
}

void TerminalProgress::Draw(bool force) {
  if (!m_drawBar || !m_visible) return;
  if (!force && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < 100) return;
  m_sinceDraw.start();
  std::fprintf(stderr, "\r\033[K%s", qPrintable(BarLine()));
  std::fflush(stderr);
}

void TerminalProgress::ClearLine() {
  if (!m_drawBar) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
}

}  // namespace tarno
