#include "context/BatchUserInterface.h"

#include <unistd.h>

namespace tarno {

BatchUserInterface::BatchUserInterface(std::FILE* stream) : m_stream(stream) {}

void BatchUserInterface::ShowMessage(const QString& text) {
  WriteLine(QString(), text);
}
void BatchUserInterface::ShowWarning(const QString& text) {
  WriteLine(QStringLiteral("warning: "), text);
}
void BatchUserInterface::ShowError(const QString& text) {
  WriteLine(QStringLiteral("error: "), text);
}

bool BatchUserInterface::Confirm(const QString& text) {
  WriteLine(QString(), text + QStringLiteral(" No (no operator to answer)"));
  return false;
}

void BatchUserInterface::WriteLine(const QString& prefix, const QString& text) {
  // On a terminal a progress bar may be on the current line: clear it first.
  const bool terminal = isatty(fileno(m_stream)) == 1;
  // A message of several lines stays one line of the log.
  QString line = text;
  line.replace(u'\n', u' ');
  std::fprintf(m_stream, "%s%s%s\n", terminal ? "\r\033[K" : "", qPrintable(prefix), qPrintable(line));
  std::fflush(m_stream);
}

}  // namespace tarno
