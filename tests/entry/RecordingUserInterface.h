// A UserInterface for tests: records every message, warning, error and question instead of showing
// a box, and answers questions from a script (No once the script is used up). Installed with
// tarno::SetUserInterface, it replaces the message boxes of the entry and of the dialog.
#pragma once

#include <QList>
#include <QStringList>

#include "context/UserInterface.h"

namespace tarno::test {

class RecordingUserInterface final : public UserInterface {
 public:
  void ShowMessage(const QString& text) override { messages.append(text); }
  void ShowWarning(const QString& text) override { warnings.append(text); }
  void ShowError(const QString& text) override { errors.append(text); }
  bool Confirm(const QString& text) override {
    questions.append(text);
    return answers.isEmpty() ? false : answers.takeFirst();
  }
  void OfferToOpen(const QString& path) override { offered.append(path); }

  QStringList messages, warnings, errors, questions, offered;
  QList<bool> answers;  // the answers to the next questions, in order
};

// Installs a recording interface for the lifetime of the scope.
class InstalledRecorder {
 public:
  InstalledRecorder() { SetUserInterface(&ui); }
  ~InstalledRecorder() { SetUserInterface(nullptr); }
  RecordingUserInterface ui;
};

}  // namespace tarno::test
