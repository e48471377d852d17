// The open dialog of the common dialog control as the session and sheet commands use it: the user may pick an
// existing file or type the name of a new one (the command then creates it).
#pragma once

#include <QString>

namespace plat {

// Like GetOpenFileName, but a name that does not exist yet may be chosen. The chosen path, or "" when cancelled.
QString GetOpenOrNewFileName(const QString& title, const QString& folder, const QString& filter,
                             const QString& defaultName = QString());

}  // namespace plat
