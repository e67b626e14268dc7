#include "context/ScopedInstallation.h"

namespace tarno {

UserInterface* InstalledUserInterface() {
  // The built-in implementation answers when none is installed; comparing with it tells whether
  // one is.
  UserInterface* current = &CurrentUserInterface();
  SetUserInterface(nullptr);
  UserInterface* builtIn = &CurrentUserInterface();
  const bool installed = current != builtIn;
  SetUserInterface(installed ? current : nullptr);
  return installed ? current : nullptr;
}

ProgressSink* InstalledProgressSink() {
  ProgressSink* current = &CurrentProgressSink();
  SetProgressSink(nullptr);
  ProgressSink* builtIn = &CurrentProgressSink();
  const bool installed = current != builtIn;
  SetProgressSink(installed ? current : nullptr);
  return installed ? current : nullptr;
}

ScopedUserInterface::ScopedUserInterface(UserInterface& ui) : m_previous(InstalledUserInterface()) {
  if (m_previous == nullptr) {
    SetUserInterface(&ui);
    m_installed = true;
  }
}

ScopedUserInterface::~ScopedUserInterface() {
  if (m_installed) SetUserInterface(nullptr);
}

ScopedProgressSink::ScopedProgressSink(ProgressSink& sink, Policy policy)
    : m_previous(InstalledProgressSink()) {
  if (m_previous == nullptr || policy == Policy::Replace) SetProgressSink(&sink);
}

ScopedProgressSink::~ScopedProgressSink() {
  SetProgressSink(m_previous);
}

}  // namespace tarno
