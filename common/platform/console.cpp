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

#include <functional>

#ifndef FRATTIX_UI_MODULE
#error "FRATTIX_UI_MODULE names the window module's file"
#endif

namespace plat {

namespace {

struct WindowModule {
  uimodule::OpenFn open = nullptr;
  uimodule::MsgBoxFn msgBox = nullptr;
  uimodule::FatalFn fatal = nullptr;
  uimodule::CloseFn close = nullptr;
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
    module.close = reinterpret_cast<uimodule::CloseFn>(library->resolve(uimodule::kClose));
    if (module.open && module.msgBox && module.fatal && module.close) {
      loaded = &module;
      return loaded;
    }
  }
  PrintError(QStringLiteral("no window can be shown (%1)").arg(library->errorString()));
  return nullptr;
}

struct Deferred {
  int* argc = nullptr;
  char** argv = nullptr;
  std::function<void()> whenCreated;
  bool moduleOpen = false;                   // the module made the application object
  // Without the module: an application without windows. Deleted by the end of the DeferredApplication, never by
  // the handlers of exit(), when Qt's own globals may be gone.
  QCoreApplication* core = nullptr;
};

Deferred& DeferredState() {
  static Deferred d;
  return d;
}

}  // namespace

DeferredApplication::DeferredApplication(int& argc, char** argv, std::function<void()> whenCreated) {
  Deferred& d = DeferredState();
  d.argc = &argc;
  d.argv = argv;
  d.whenCreated = std::move(whenCreated);
}

DeferredApplication::~DeferredApplication() {
  Deferred& d = DeferredState();
  if (d.moduleOpen) Module()->close();
  d.moduleOpen = false;
  delete d.core;
  d.core = nullptr;
  d.argc = nullptr;
  d.argv = nullptr;
  d.whenCreated = nullptr;
}

void EnsureApplication() {
  Deferred& d = DeferredState();
  if (!d.argc || QCoreApplication::instance()) return;
  if (const WindowModule* m = Module()) {
    m->open(d.argc, d.argv);
    d.moduleOpen = true;
  } else {
    d.core = new QCoreApplication(*d.argc, d.argv);
  }
  if (d.whenCreated) d.whenCreated();
}

MsgAnswer MsgBox(const QString& text, int style, const QString& title) {
  EnsureApplication();
  if (DeferredState().moduleOpen)
    return static_cast<MsgAnswer>(Module()->msgBox(text.toUtf8().constData(), style, title.toUtf8().constData()));
  PrintError(OneLine(title.isEmpty() ? text : title + QStringLiteral(": ") + text));
  return ButtonsOf(style).first();
}

void FatalError(const QString& text, const QString& title, int code) {
  PrintError(OneLine(text));
  EnsureApplication();
  if (DeferredState().moduleOpen) Module()->fatal(text.toUtf8().constData(), title.toUtf8().constData());
  else Log(QStringLiteral("fatal"), title, text);
  EndProgram(code);
}

}  // namespace plat
