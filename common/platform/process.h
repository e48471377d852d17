// Starting a child program of the suite and waiting for it: the command that starts TALVOR, MIRVANE, PELDRIX,
// wenlow or EIGEN goes on only when the child has ended, since it reads what the child wrote. The child gets an
// argument list, never a joined command line, and inherits the current folder and the environment. While it runs
// the user interface stays responsive and no core spins.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plat {

// As RunChildAndWait below, with the child's standard output gathered into `output` instead of passed on (a
// child that tells its caller a result, such as the path of the file it saved).
bool RunChildAndWaitForOutput(const QString& program, const QStringList& arguments, QByteArray& output,
                              QString* error = nullptr, int* exitCode = nullptr);

// Starts `program` (a path, or a name of the suite such as "peldrix.exe", resolved in the program folder) and
// waits until it has ended. The child is killed when this program ends, so that no child (nor a child of a
// child) outlives the program that started it. Returns false, with a reason in `error`, when it could not be started: then nothing
// is waited for. `exitCode` (optional) receives the child's exit code, or kChildCrashed when the child was killed
// or crashed.
constexpr int kChildCrashed = -1;
bool RunChildAndWait(const QString& program, const QStringList& arguments, QString* error = nullptr,
                     int* exitCode = nullptr);

// Starts `program` (a path) with `arguments` and does not wait for it (the shell's start of a viewer or an
// editor). False, with a reason in `error`, when it could not be started.
bool StartDetached(const QString& program, const QStringList& arguments, QString* error = nullptr);

// The path of the executable `name` found in the folders of PATH, or "" when there is none.
QString FindOnPath(const QString& name);

}  // namespace plat
