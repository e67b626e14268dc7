// How domain code talks to the operator without knowing whether a screen is there.
// The GUI installs message boxes and the progress window TFormMsg; the batch mode installs
// standard-error messages and a terminal progress bar with Ctrl-C as the stop request.
//
// Order of use in a run: ShowProgress (shows, sets the message) ... StepProgress (lets the screen
// work, advances, answers false once after a confirmed stop request) ... CloseProgress (hides).
#pragma once

#include <QString>

namespace tarno {

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // A plain informational message with an OK button ("Prepare CSV file!").
  virtual void ShowMessage(const QString& text) = 0;
  // A warning that does not stop the run (a template field the record set lacks, ...).
  virtual void ShowWarning(const QString& text) = 0;
  // An error shown to the operator (the guard of a button or of the entry).
  virtual void ShowError(const QString& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Confirm(const QString& text) = 0;
  // Offers to open a written file with the desktop's default application (GUI), or tells where
  // it is (batch: nothing, the launcher prints every written path).
  virtual void OfferToOpen(const QString& path) { (void)path; }
};

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void ShowProgress(int maximum, const QString& message) = 0;
  virtual bool StepProgress() = 0;
  virtual void CloseProgress() = 0;
};

// The installed implementations. Without an installation, messages and warnings go to standard
// error, Confirm answers No, and progress does nothing (StepProgress answers true).
void SetUserInterface(UserInterface* ui);
UserInterface& CurrentUserInterface();
void SetProgressSink(ProgressSink* sink);
ProgressSink& CurrentProgressSink();

// Files written by the current job; the launcher prints them, one per line.
void RecordWrittenFile(const QString& path);
QStringList TakeWrittenFiles();

// The module's procedures, forwarding to the installed implementations.
void ShowMessage(const QString& text);
void ShowWarning(const QString& text);
void ShowProgress(int maximum, const QString& message);
bool StepProgress();
void CloseProgress();

}  // namespace tarno
