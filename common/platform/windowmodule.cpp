// The window module's entry points (uimodule.h) over the window layer.
#include "common/platform/application.h"
#include "common/platform/ui.h"
#include "common/platform/uimodule.h"

#include <QString>

#include <type_traits>

#define FRATTIX_UI_EXPORT extern "C" __attribute__((visibility("default")))

FRATTIX_UI_EXPORT QCoreApplication* frattix_ui_open(int* argc, char** argv) {
  return new plat::Application(*argc, argv);
}

FRATTIX_UI_EXPORT int frattix_ui_msgbox(const char* text, int style, const char* title) {
  return plat::MsgBox(QString::fromUtf8(text), style, QString::fromUtf8(title));
}

FRATTIX_UI_EXPORT void frattix_ui_fatal(const char* text, const char* title) {
  plat::ShowFatal(QString::fromUtf8(text), QString::fromUtf8(title));
}

// The signatures must stay those the console layer calls.
static_assert(std::is_same_v<decltype(&frattix_ui_open), plat::uimodule::OpenFn>);
static_assert(std::is_same_v<decltype(&frattix_ui_msgbox), plat::uimodule::MsgBoxFn>);
static_assert(std::is_same_v<decltype(&frattix_ui_fatal), plat::uimodule::FatalFn>);
