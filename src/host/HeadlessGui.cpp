#include "host/HeadlessGui.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

namespace tarno::host {

std::unique_ptr<QGuiApplication> MakeHeadlessGuiApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString runtime =
        QDir::tempPath() + QStringLiteral("/tarnotable-runtime-") + QString::number(getuid());
    if (QDir().mkpath(runtime) &&
        QFile::setPermissions(runtime,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
      qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
  }
  static int argc = 1;
  static char name[] = "tarnotable";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace tarno::host
