// Installing the module's UserInterface and ProgressSink for the length of one entry call or one
// batch session, and putting back what was installed before. A UserInterface that the caller
// installed already (a test's recording one) is kept, so tests can replace the message boxes.
#pragma once

#include "context/UserInterface.h"

namespace tarno {

// Installs `ui` for the lifetime of the scope when no implementation is installed yet, and puts
// back what was there before when the scope ends. An implementation installed by the caller (a
// test's recording interface, the batch mode's) is kept.
class ScopedUserInterface {
 public:
  explicit ScopedUserInterface(UserInterface& ui);
  ~ScopedUserInterface();
  ScopedUserInterface(const ScopedUserInterface&) = delete;
  ScopedUserInterface& operator=(const ScopedUserInterface&) = delete;
  bool Installed() const { return m_installed; }

 private:
  UserInterface* m_previous = nullptr;  // null: none was installed
  bool m_installed = false;
};

// Installs a progress sink for the lifetime of the scope and puts back the previous one. The
// entry always shows its own progress window (Replace); the batch mode keeps a sink that the
// caller installed (KeepInstalled).
class ScopedProgressSink {
 public:
  enum class Policy { Replace, KeepInstalled };
  explicit ScopedProgressSink(ProgressSink& sink, Policy policy = Policy::Replace);
  ~ScopedProgressSink();
  ScopedProgressSink(const ScopedProgressSink&) = delete;
  ScopedProgressSink& operator=(const ScopedProgressSink&) = delete;

 private:
  ProgressSink* m_previous = nullptr;
};

// The installed UserInterface, or null when only the built-in standard-error one answers.
UserInterface* InstalledUserInterface();
// The installed ProgressSink, or null when only the built-in silent one answers.
ProgressSink* InstalledProgressSink();

}  // namespace tarno
