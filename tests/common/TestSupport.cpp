#include "common/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace tarno::test {
namespace {
QTemporaryDir& ScratchRoot() {
  static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/tarno-test-XXXXXX"));
  return root;
}
}  // namespace

QString ScratchFolder(const QString& name) {
  const QString path = ScratchRoot().path() + u'/' + name;
  QDir(path).removeRecursively();
  QDir().mkpath(path);
  return path;
}

QString SourcePath(const QString& relative) {
  return QStringLiteral(TARNO_SOURCE_DIR "/") + relative;
}
QString BinaryPath(const QString& relative) {
  return QStringLiteral(TARNO_BINARY_DIR "/") + relative;
}
QString ProgramPath() {
  return QStringLiteral(TARNO_PROGRAM);
}

}  // namespace tarno::test
