// The window module: the window layer (ui.cpp and what it needs) built as a shared module in the program folder,
// which a program without a window (console.cpp) loads only when it must show a message. Its entry points are
// plain C functions; texts cross as UTF-8.
#pragma once

class QCoreApplication;

namespace plat::uimodule {

// Creates the application object (a QApplication) from the program's arguments, which must outlive it; the
// caller deletes it.
using OpenFn = QCoreApplication* (*)(int* argc, char** argv);
// Shows a message box (plat::MsgBox) and returns the answer.
using MsgBoxFn = int (*)(const char* text, int style, const char* title);
// Shows a fatal error (plat::ShowFatal); the caller ends the program.
using FatalFn = void (*)(const char* text, const char* title);

inline constexpr const char* kOpen = "frattix_ui_open";
inline constexpr const char* kMsgBox = "frattix_ui_msgbox";
inline constexpr const char* kFatal = "frattix_ui_fatal";

}  // namespace plat::uimodule
