// The parts of the interaction interface (ui.h) that need no window: the log, the end of a program, the message
// of a failure on the standard error, and the buttons of a message box style. Both the window layer (ui.cpp) and
// the console layer of the programs without a window (console.cpp) are built on them.
#pragma once

#include "common/platform/ui.h"

#include <QList>
#include <QString>

class QCoreApplication;

namespace plat {

// The application object that EnsureApplication makes for a DeferredApplication: the layer's own (ui.cpp: a
// QApplication; console.cpp: the window module's QApplication, else one without windows).
QCoreApplication* NewApplication(int& argc, char** argv);

// The running program's file name ("peldrix"), also before an application object exists.
QString ProgramName();

// The text on one line, as the log and the standard error write it: line breaks as "\n", TABs as blanks.
QString OneLine(QString s);

// Writes "<program>: <text>" as one line to the standard error.
void PrintError(const QString& text);

// The buttons of a message box style, in their order on screen; the first is the default button.
QList<MsgAnswer> ButtonsOf(int style);

}  // namespace plat
