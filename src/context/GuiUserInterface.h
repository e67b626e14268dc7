// Message and confirmation boxes for the operator at a screen: the UserInterface that the entry
// installs for the length of its call (unless one is installed already, as tests do with a
// recording implementation; see ScopedInstallation.h).
#pragma once

#include "context/UserInterface.h"

namespace tarno {

class GuiUserInterface final : public UserInterface {
 public:
  void ShowMessage(const QString& text) override;
  void ShowWarning(const QString& text) override;
  void ShowError(const QString& text) override;
  bool Confirm(const QString& text) override;
  // Asks whether to open the file and hands it to the desktop's default application.
  void OfferToOpen(const QString& path) override;
};

}  // namespace tarno
