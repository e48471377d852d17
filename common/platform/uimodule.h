// The window module: the window layer (ui.cpp and what it needs) built as a shared module in the program folder,
// which a program without a window (console.cpp) loads only when it must show a message. Its entry points are
// plain C functions; texts cross as UTF-8.
#pragma once

namespace plat::uimodule {

// Creates the application object from the program's arguments (which must outlive it).
using OpenFn = void (*)(int* argc, char** argv);
// Shows a message box (plat::MsgBox) and returns the answer.
using MsgBoxFn = int (*)(const char* text, int style, const char* title);
// Shows a fatal error (plat::ShowFatal); the caller ends the program.
using FatalFn = void (*)(const char* text, const char* title);
// Deletes the application object.
using CloseFn = void (*)();

inline constexpr const char* kOpen = "frattix_ui_open";
inline constexpr const char* kMsgBox = "frattix_ui_msgbox";
inline constexpr const char* kFatal = "frattix_ui_fatal";
inline constexpr const char* kClose = "frattix_ui_close";

}  // namespace plat::uimodule
