// `tarnotable dialog CONTEXT`: plays the host. It builds the context block from the options, hands
// the reports root and the templates folder over through TARNO_REPORTS and TARNO_RPT, loads
// libtarnotable from the launcher's own folder with dlopen and calls DLLFmPayForm, which returns
// when the operator closes the dialog.
#include <dlfcn.h>

#include <QApplication>
#include <QByteArray>
#include <QFileInfo>

#include "context/Errors.h"
#include "entry/Exports.h"
#include "host/CommandLine.h"

namespace tarno::host {
namespace {

std::intptr_t PointerSlot(const QByteArray& text) {
  return reinterpret_cast<std::intptr_t>(text.constData());
}

// The library beside the launcher, so that the launcher and its library always belong together.
QString LibraryPath(const QString& programPath) {
  QString folder = QCoreApplication::applicationDirPath();
  if (folder.isEmpty()) folder = QFileInfo(programPath).absolutePath();
#if defined(Q_OS_MACOS)
  return folder + QStringLiteral("/libtarnotable.dylib");
#else
  return folder + QStringLiteral("/libtarnotable.so");
#endif
}

}  // namespace

int RunDialogCommand(const ParsedCommand& cmd, const QString& programPath) {
  const BatchContext context = ContextFromOptions(cmd);
  if (!context.reportsRoot.isEmpty()) qputenv("TARNO_REPORTS", context.reportsRoot.toLocal8Bit());
  if (!context.templates.isEmpty()) qputenv("TARNO_RPT", context.templates.toLocal8Bit());

  static int argc = 1;
  static char name[] = "tarnotable";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  const QString libraryPath = LibraryPath(programPath);
  void* library = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr)
    throw Error(QStringLiteral("The library %1 could not be loaded: %2")
                    .arg(libraryPath, QString::fromLocal8Bit(dlerror())));
  auto entry = reinterpret_cast<DLLFmPayFormFunction>(dlsym(library, "DLLFmPayForm"));
  if (entry == nullptr) {
    dlclose(library);
    throw Error(QStringLiteral("The library %1 does not export DLLFmPayForm.").arg(libraryPath));
  }

  // The texts that the pointer slots point to live until the call returns.
  const QByteArray condition1 = context.condition1.toLocal8Bit();
  const QByteArray condition2 = context.condition2.toLocal8Bit();
  const QByteArray userId = context.userId.toLocal8Bit();
  const QByteArray companyTitle = context.companyTitle.toLocal8Bit();
  const QByteArray databasePath = QFile::encodeName(context.databasePath);
  entry(0, 0, 0, 0, 0, PointerSlot(condition1), PointerSlot(condition2), 0, 0, 0, PointerSlot(userId),
        context.payYear, context.payMonth, 0, 0, 0, 0, context.reportFolderNo, 0, PointerSlot(companyTitle),
        databasePath.constData());
  dlclose(library);
  return 0;
}

}  // namespace tarno::host
