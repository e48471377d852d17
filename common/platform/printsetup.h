// The printer set-up dialog of the common dialog control: the user chooses the printer and its settings for the
// print jobs of this run; a file chosen as the output takes every later print job to PDF.
#pragma once

#include <QString>

namespace plat {

// Shows the printer set-up dialog modally. True when the user confirmed it.
bool PrinterSetupDialog(const QString& title = QString());

}  // namespace plat
