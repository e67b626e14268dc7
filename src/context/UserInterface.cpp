#include "context/UserInterface.h"

#include <QStringList>
#include <cstdio>

namespace tarno {
namespace {

class StandardErrorInterface final : public UserInterface {
 public:
  void ShowMessage(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  void ShowWarning(const QString& text) override { std::fprintf(stderr, "warning: %s\n", qPrintable(text)); }
  void ShowError(const QString& text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
  bool Confirm(const QString&) override { return false; }
};

class SilentProgress final : public ProgressSink {
 public:
  void ShowProgress(int, const QString&) override {}
  bool StepProgress() override { return true; }
  void CloseProgress() override {}
};

StandardErrorInterface g_defaultUi;
SilentProgress g_defaultProgress;
UserInterface* g_ui = nullptr;
ProgressSink* g_progress = nullptr;
QStringList g_writtenFiles;

}  // namespace

void SetUserInterface(UserInterface* ui) {
  g_ui = ui;
}
UserInterface& CurrentUserInterface() {
  return g_ui != nullptr ? *g_ui : g_defaultUi;
}
void SetProgressSink(ProgressSink* sink) {
  g_progress = sink;
}
ProgressSink& CurrentProgressSink() {
  return g_progress != nullptr ? *g_progress : g_defaultProgress;
}

void RecordWrittenFile(const QString& path) {
  g_writtenFiles.append(path);
}
QStringList TakeWrittenFiles() {
  QStringList files;
  files.swap(g_writtenFiles);
  return files;
}

void ShowMessage(const QString& text) {
  CurrentUserInterface().ShowMessage(text);
}
void ShowWarning(const QString& text) {
  CurrentUserInterface().ShowWarning(text);
}
void ShowProgress(int maximum, const QString& message) {
  CurrentProgressSink().ShowProgress(maximum, message);
}
bool StepProgress() {
  return CurrentProgressSink().StepProgress();
}
void CloseProgress() {
  CurrentProgressSink().CloseProgress();
}

}  // namespace tarno
