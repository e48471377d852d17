// The interaction interface (ui.h) of a program that runs without a window and shows one only to report a
// failure: message boxes, fatal errors and the deferred application object, on QtCore alone. The windows live in
// the window module of the program folder (uimodule.h), loaded when a message must first be shown; a start that
// shows nothing never loads the window libraries. Without the module a message goes to the standard error and a
// question gets its default answer.
#include "common/platform/files.h"
#include "common/platform/ui.h"
#include "common/platform/uibase.h"
#include "common/platform/uimodule.h"

#include <QCoreApplication>
#include <QLibrary>

#ifndef FRATTIX_UI_MODULE
#error "FRATTIX_UI_MODULE names the window module's file"
#endif

namespace plat {

namespace {

struct WindowModule {
  uimodule::OpenFn open = nullptr;
  uimodule::MsgBoxFn msgBox = nullptr;
  uimodule::FatalFn fatal = nullptr;
};

// The window module, loaded at the first call; null (once said on the standard error) when it cannot be.
const WindowModule* Module() {
  static bool tried = false;
  static WindowModule module;
  static const WindowModule* loaded = nullptr;
  if (tried) return loaded;
  tried = true;
  // Loaded for good: the application object and its windows live in it until the program ends.
  static QLibrary* const library = new QLibrary(JoinPath(ProgramFolder(), QStringLiteral(FRATTIX_UI_MODULE)));
  if (library->load()) {
    module.open = reinterpret_cast<uimodule::OpenFn>(library->resolve(uimodule::kOpen));
    module.msgBox = reinterpret_cast<uimodule::MsgBoxFn>(library->resolve(uimodule::kMsgBox));
    module.fatal = reinterpret_cast<uimodule::FatalFn>(library->resolve(uimodule::kFatal));
    if (module.open && module.msgBox && module.fatal) {
      loaded = &module;
      return loaded;
    }
  }
  PrintError(QStringLiteral("no window can be shown (%1)").arg(library->errorString()));
  return nullptr;
}

// The window module, when the application object is its own: then messages can be shown.
const WindowModule* Windows() {
  EnsureApplication();
  const QCoreApplication* app = QCoreApplication::instance();
  return app && app->inherits("QApplication") ? Module() : nullptr;
}

}  // namespace

QCoreApplication* NewApplication(int& argc, char** argv) {
  if (const WindowModule* m = Module()) return m->open(&argc, argv);
  return new QCoreApplication(argc, argv);
}

MsgAnswer MsgBox(const QString& text, int style, const QString& title) {
  if (const WindowModule* m = Windows())
    return static_cast<MsgAnswer>(m->msgBox(text.toUtf8().constData(), style, title.toUtf8().constData()));
  PrintError(OneLine(title.isEmpty() ? text : title + QStringLiteral(": ") + text));
  return ButtonsOf(style).first();
}

void FatalError(const QString& text, const QString& title, int code) {
  PrintError(OneLine(text));
  if (const WindowModule* m = Windows()) m->fatal(text.toUtf8().constData(), title.toUtf8().constData());
  else Log(QStringLiteral("fatal"), title, text);
  EndProgram(code);
}

}  // namespace plat
