// The operator's messages without a screen: every message, warning and error on standard error,
// one per line. Nobody is there to answer a question, so Confirm answers No and says so.
#pragma once

#include <cstdio>

#include "context/UserInterface.h"

namespace tarno {

class BatchUserInterface final : public UserInterface {
 public:
  // Writes to `stream` (standard error by default; tests pass a temporary file).
  explicit BatchUserInterface(std::FILE* stream = stderr);

  void ShowMessage(const QString& text) override;
  void ShowWarning(const QString& text) override;
  void ShowError(const QString& text) override;
  bool Confirm(const QString& text) override;
  // Nothing: the launcher prints every written file's path on standard output.
  void OfferToOpen(const QString& path) override { (void)path; }

 private:
  void WriteLine(const QString& prefix, const QString& text);
  std::FILE* m_stream;
};

}  // namespace tarno
