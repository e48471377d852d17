// The window module's entry points (uimodule.h) over the window layer.
#include "common/platform/ui.h"
#include "common/platform/uimodule.h"

#include <QString>

#include <type_traits>

namespace {

// Deleted by frattix_ui_close, never by the handlers of exit() (see plat::DeferredApplication).
plat::DeferredApplication*& Application() {
  static plat::DeferredApplication* application = nullptr;
  return application;
}

}  // namespace

#define FRATTIX_UI_EXPORT extern "C" __attribute__((visibility("default")))

FRATTIX_UI_EXPORT void frattix_ui_open(int* argc, char** argv) {
  delete Application();
  Application() = new plat::DeferredApplication(*argc, argv, nullptr);
  plat::EnsureApplication();
}

FRATTIX_UI_EXPORT int frattix_ui_msgbox(const char* text, int style, const char* title) {
  return plat::MsgBox(QString::fromUtf8(text), style, QString::fromUtf8(title));
}

FRATTIX_UI_EXPORT void frattix_ui_fatal(const char* text, const char* title) {
  plat::ShowFatal(QString::fromUtf8(text), QString::fromUtf8(title));
}

FRATTIX_UI_EXPORT void frattix_ui_close() {
  delete Application();
  Application() = nullptr;
}

// The signatures must stay those the console layer calls.
static_assert(std::is_same_v<decltype(&frattix_ui_open), plat::uimodule::OpenFn>);
static_assert(std::is_same_v<decltype(&frattix_ui_msgbox), plat::uimodule::MsgBoxFn>);
static_assert(std::is_same_v<decltype(&frattix_ui_fatal), plat::uimodule::FatalFn>);
static_assert(std::is_same_v<decltype(&frattix_ui_close), plat::uimodule::CloseFn>);
