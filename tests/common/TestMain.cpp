// Test entry point: a QApplication on the offscreen platform, so that widget tests and database
// tests run the same way with or without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/tarno-runtime";
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QFile::setPermissions(QString::fromLocal8Bit(dir),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir);
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
