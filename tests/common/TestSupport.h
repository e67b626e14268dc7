// Helpers shared by the test programs: scratch folders and paths of the build.
#pragma once

#include <QString>

namespace tarno::test {

// A fresh empty folder below the test program's scratch root, removed at exit.
QString ScratchFolder(const QString& name);
// The source tree, the build tree and the launcher program.
QString SourcePath(const QString& relative);
QString BinaryPath(const QString& relative);
QString ProgramPath();

}  // namespace tarno::test
